// The data grid's layout: the link's notifications, the column map, the layout rebuild, the
// row count that sizes the data set's buffer window, and the vertical scroll bar.

#include "grid/DBGridEh.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QScrollBar>

#include <algorithm>

#include "grid/DBGridEhAccessible.h"
#include "grid/GridDataLinkEh.h"
#include "platform/classes/Component.h"
#include "platform/forms/ControlProperties.h"
#include "platform/db/DataSet.h"

namespace {

// The grid's own message that runs a deferred layout rebuild.
const QEvent::Type kDeferredLayout = static_cast<QEvent::Type>(QEvent::User + 1124);

}  // namespace

// Hears of the destruction of the fields the grid shows.
class TGridFieldWatcher : public TComponent {
 public:
  explicit TGridFieldWatcher(TCustomDBGridEh& grid) : TComponent(nullptr), grid_(grid) {}
  const char* ClassName() const override { return "TGridFieldWatcher"; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (auto* field = dynamic_cast<TField*>(component)) grid_.FieldDestroyed(field);
    if (auto* source = dynamic_cast<TDataSource*>(component); source && source == grid_.DataSource())
      grid_.SetDataSource(nullptr);
  }

 private:
  TCustomDBGridEh& grid_;
};

TCustomDBGridEh::TCustomDBGridEh(QWidget* parent)
    : TCustomGrid(parent),
      link_(std::make_unique<TGridDataLinkEh>(*this)),
      fieldWatcher_(std::make_unique<TGridFieldWatcher>(*this)),
      columns_(this),
      defValues_(this) {
  setProperty(kClassNameProperty, QStringLiteral("TDBGridEh"));
  InstallDBGridEhAccessible();
  titleFont_ = font();
  footerFont_ = font();
  SetColCount(2);
  SetRowCount(2);
  SetFixedCols(1);
  SetFixedRows(1);
  TCustomGrid::SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goColMoving |
                          goTabs | goEditing);
  verticalScrollBar()->setRange(0, 0);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  verticalScrollBar()->installEventFilter(this);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) { vertScrollAction(action); });
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
    setFocus();
    thumbPosition(verticalScrollBar()->sliderPosition());
  });
  updateScrollBar();
}

TCustomDBGridEh::~TCustomDBGridEh() {
  // The columns go first: nothing may ask the link or the watcher about them afterwards.
  columns_.BeginUpdate();
  link_->SetDataSource(nullptr);
}

TDataSource* TCustomDBGridEh::DataSource() const { return link_->DataSource(); }

TDataSet* TCustomDBGridEh::DataSet() const { return link_->DataSet(); }

void TCustomDBGridEh::SetDataSource(TDataSource* source) {
  if (source == link_->DataSource()) return;
  if (TDataSource* old = link_->DataSource()) fieldWatcher_->RemoveFreeNotification(old);
  link_->SetDataSource(source);
  if (source) fieldWatcher_->FreeNotification(source);
  LinkActive(link_->Active());
}

void TCustomDBGridEh::SetOptions(unsigned options) {
  if (options & dgRowSelect) options &= ~(dgEditing | dgAlwaysShowEditor);
  const unsigned changed = options ^ options_;
  options_ = options;
  unsigned grid = 0;
  if (options & dgColLines) grid |= goFixedVertLine | goVertLine;
  if (options & dgRowLines) grid |= goFixedHorzLine | goHorzLine;
  if (options & dgColumnResize) grid |= goColSizing | goColMoving;
  if (options & dgTabs) grid |= goTabs;
  if (options & dgRowSelect) grid |= goRowSelect;
  if (options & dgEditing) grid |= goEditing;
  if (options & dgAlwaysShowEditor) grid |= goAlwaysShowEditor;
  TCustomGrid::SetOptions(grid);
  const unsigned relayout = dgEditing | dgAlwaysShowEditor | dgTitles | dgIndicator | dgColLines | dgRowLines |
                            dgRowSelect | dgAlwaysShowSelection;
  if (changed & relayout) LayoutChanged();
}

void TCustomDBGridEh::SetOptionsEh(unsigned options) {
  optionsEh_ = options;
  if (options & dghFitRowHeightToText) LayoutChanged();
  InvalidateGrid();
}

void TCustomDBGridEh::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  LayoutChanged();
}

void TCustomDBGridEh::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  LayoutChanged();
}

void TCustomDBGridEh::SetTitleFont(const QFont& font) {
  titleFont_ = font;
  if (options_ & dgTitles) LayoutChanged();
}

void TCustomDBGridEh::SetEvenRowColor(TColor color) {
  evenRowColor_ = color;
  evenRowColorSet_ = true;
  InvalidateGrid();
}

void TCustomDBGridEh::SetOddRowColor(TColor color) {
  oddRowColor_ = color;
  oddRowColorSet_ = true;
  InvalidateGrid();
}

void TCustomDBGridEh::SetFrozenCols(int count) {
  frozenCols_ = std::max(0, count);
  LayoutChanged();
}

void TCustomDBGridEh::SetRowHeight(int height) {
  rowHeight_ = std::max(0, height);
  LayoutChanged();
}

void TCustomDBGridEh::SetRowLines(int lines) {
  rowLines_ = std::max(0, lines);
  LayoutChanged();
}

void TCustomDBGridEh::SetTitleHeight(int height) {
  titleHeight_ = std::max(0, height);
  LayoutChanged();
}

void TCustomDBGridEh::SetTitleLines(int lines) {
  titleLines_ = std::max(0, lines);
  LayoutChanged();
}

void TCustomDBGridEh::SetFooterRowCount(int count) {
  footerRowCount_ = std::max(0, count);
  LayoutChanged();
}

void TCustomDBGridEh::SetAutoFitColWidths(bool on) {
  autoFitColWidths_ = on;
  LayoutChanged();
}

void TCustomDBGridEh::SetUseMultiTitle(bool on) {
  useMultiTitle_ = on;
  LayoutChanged();
}

void TCustomDBGridEh::SetVertScrollBarVisibleMode(TScrollBarVisibleModeEh mode) {
  vertMode_ = mode;
  updateScrollBar();
}

bool TCustomDBGridEh::HandleAllocated() const { return testAttribute(Qt::WA_WState_Created); }

int TCustomDBGridEh::DefaultColumnWidth(const QFont& font, int displayWidth) {
  TCanvas& canvas = Canvas();
  const QFont saved = canvas.Font;
  canvas.Font = font;
  const TTextMetric tm = canvas.TextMetrics();
  const int zero = canvas.TextWidth(QStringLiteral("0"));
  canvas.Font = saved;
  return (zero - tm.Overhang) * displayWidth + tm.Overhang + 4;
}

int TCustomDBGridEh::PixelsToDisplayWidth(const QFont& font, int pixels) {
  TCanvas& canvas = Canvas();
  const QFont saved = canvas.Font;
  canvas.Font = font;
  const TTextMetric tm = canvas.TextMetrics();
  const int zero = std::max(1, canvas.TextWidth(QStringLiteral("0")));
  canvas.Font = saved;
  return (pixels + tm.AveCharWidth / 2 - tm.Overhang - 3) / zero;
}

TField* TCustomDBGridEh::GetColField(int index) const {
  const int fieldIndex = link_->FieldIndex(index);
  TDataSet* dataSet = DataSet();
  if (fieldIndex < 0 || !dataSet || fieldIndex >= dataSet->FieldCount()) return nullptr;
  return dataSet->Fields()[fieldIndex];
}

int TCustomDBGridEh::SelectedIndex() const {
  if (columns_.Count() == 0) return -1;
  return std::clamp(Col() - IndicatorOffset(), 0, columns_.Count() - 1);
}

void TCustomDBGridEh::SetSelectedIndex(int index) { selectColumn(index); }

TField* TCustomDBGridEh::SelectedField() const {
  const int index = SelectedIndex();
  return index < 0 ? nullptr : columns_[index]->Field();
}

int TCustomDBGridEh::VisibleDataRowCount() const {
  return std::max(0, std::min(RowCount() - DataRowOffset(), link_->Active() ? link_->RecordCount() : 0));
}

void TCustomDBGridEh::BeginLayout() {
  if (layoutLock_++ == 0) columns_.BeginUpdate();
}

void TCustomDBGridEh::EndLayout() {
  if (layoutLock_ <= 0) return;
  if (layoutLock_ > 1) {
    --layoutLock_;
    return;
  }
  // The collection reports its changes when its update ends; they are this rebuild's own.
  const auto release = [this] {
    const bool was = inLayout_;
    inLayout_ = true;
    layoutLock_ = 0;
    columns_.EndUpdate();
    inLayout_ = was;
  };
  try {
    layoutRebuild();
  } catch (...) {
    release();
    throw;
  }
  release();
}

void TCustomDBGridEh::LayoutChanged() {
  BeginLayout();
  EndLayout();
}

void TCustomDBGridEh::Loaded() {
  loading_ = false;
  if (columns_.State() == csCustomized) SetColCount(columns_.Count() + IndicatorOffset());
  LayoutChanged();
  postDeferredLayout();
}

void TCustomDBGridEh::postDeferredLayout() {
  if (deferredLayoutPosted_) return;
  deferredLayoutPosted_ = true;
  QCoreApplication::postEvent(this, new QEvent(kDeferredLayout));
}

void TCustomDBGridEh::customEvent(QEvent* event) {
  if (event->type() != kDeferredLayout) return TCustomGrid::customEvent(event);
  if (!deferredLayoutPosted_) return;  // dropped by a rebuild that ran meanwhile
  deferredLayoutPosted_ = false;
  if (layoutLock_ > 0)
    postDeferredLayout();
  else
    LayoutChanged();
}

void TCustomDBGridEh::buildFieldMap() {
  TDataSet* dataSet = DataSet();
  if (columns_.State() == csCustomized) {
    link_->SparseMap = true;
    for (int i = 0; i < columns_.Count(); ++i) {
      TField* field = dataSet->FindField(columns_[i]->FieldName());
      link_->AddMapping(field ? field->Index() : -1);
      if (field) field->FreeNotification(fieldWatcher_.get());
    }
    return;
  }
  for (int i = 0; i < dataSet->FieldCount(); ++i) {
    TField* field = dataSet->Fields()[i];
    if (!field->Visible()) continue;
    link_->AddMapping(dataSet->FieldByName(field->FieldName()).Index());
    field->FreeNotification(fieldWatcher_.get());
  }
}

void TCustomDBGridEh::layoutRebuild() {
  const TDBGridEhAccessibleUpdate accessible(*this);
  if (loading_) return;
  deferredLayoutPosted_ = false;
  inLayout_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{inLayout_};

  // Automatic columns never stand before persistent ones.
  bool automaticSeen = false, mixed = false;
  for (int i = 0; i < columns_.Count(); ++i) {
    if (!columns_[i]->Stored()) automaticSeen = true;
    else if (automaticSeen) mixed = true;
  }
  if (mixed)
    for (int i = columns_.Count() - 1; i >= 0; --i)
      if (!columns_[i]->Stored()) columns_.Delete(i);

  link_->ClearMapping();
  if (link_->Active()) buildFieldMap();

  TDataSet* dataSet = DataSet();
  if (columns_.State() == csCustomized) {
    for (int i = 0; i < columns_.Count(); ++i) columns_[i]->field_ = nullptr;
  } else {
    const int mapped = link_->FieldCount();
    if (link_->Active() || (dataSet && !dataSet->DefaultFields())) {
      for (int i = columns_.Count() - 1; i >= 0; --i) {
        TField* field = columns_[i]->field_;
        bool inMap = false;
        for (int m = 0; m < mapped && field && !inMap; ++m) inMap = GetColField(m) == field;
        if (!inMap) columns_.Delete(i);
      }
    } else {
      columns_.Clear();
    }
    const int positions = std::max(mapped, columns_.Count() == 0 ? 1 : 0);
    for (int i = 0; i < positions; ++i) {
      TField* field = GetColField(i);
      TColumnEh* column = nullptr;
      if (field) {
        for (int j = i; j < columns_.Count() && !column; ++j)
          if (columns_[j]->field_ == field) column = columns_[j];
        if (!column) {
          column = columns_.AddAutomatic();
          column->SetField(field);
        }
      } else {
        column = columns_.AddAutomatic();
      }
      column->SetIndex(i);
    }
  }

  visibleColumns_.Clear();
  for (int i = 0; i < columns_.Count(); ++i)
    if (columns_[i]->Visible()) visibleColumns_.Add(columns_[i]);

  const int indicator = IndicatorOffset();
  SetColCount(columns_.Count() + indicator);
  int hiddenFrozen = 0;
  for (int i = 0; i < std::min(frozenCols_, columns_.Count()); ++i)
    if (!columns_[i]->Visible()) ++hiddenFrozen;
  SetFixedCols(std::min(indicator + frozenCols_ + hiddenFrozen, ColCount() - 1));

  const int lineWidth = GridLineWidth();
  TCanvas& canvas = Canvas();
  canvas.Font = font();
  const TTextMetric tm = canvas.TextMetrics();
  const int textHeight = canvas.TextHeight(QStringLiteral("Wg"));
  int rowHeight = textHeight + (flat_ ? 1 : 3) + ((options_ & dgRowLines) ? lineWidth : 0);
  if (rowHeight_ > 0 || rowLines_ > 0) rowHeight = rowHeight_ + (tm.ExternalLeading + tm.Height) * rowLines_;
  if ((optionsEh_ & dghFitRowHeightToText) && textHeight > 0) {
    const int lines = rowHeight / textHeight, rest = rowHeight % textHeight;
    rowHeight = (rest <= textHeight / 2 && lines >= 1) ? lines * textHeight : (lines + 1) * textHeight;
  }
  SetDefaultRowHeight(std::max(1, rowHeight));

  if (options_ & dgTitles) {
    const int margin = flat_ ? 2 : 4;
    int titleHeight = 0;
    if (titleHeight_ > 0 || titleLines_ > 0) {
      canvas.Font = titleFont_;
      const TTextMetric ttm = canvas.TextMetrics();
      titleHeight = titleLines_ * ttm.Height + ttm.ExternalLeading + titleHeight_ + 2 + ((options_ & dgRowLines) ? 1 : 0);
    } else if (columns_.Count() == 0) {
      canvas.Font = titleFont_;
      titleHeight = canvas.TextHeight(QStringLiteral("Wg")) + margin;
    } else {
      for (int i = 0; i < columns_.Count(); ++i) {
        canvas.Font = columns_[i]->Title().Font();
        titleHeight = std::max(titleHeight, canvas.TextHeight(QStringLiteral("Wg")) + margin);
      }
    }
    canvas.Font = font();
    if (RowCount() < 2) SetRowCount(2);
    SetRowHeights(0, titleHeight);
  }
  setHorizontalScrollBarPolicy(autoFitColWidths_ ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  applyColumnWidths();
  updateRowCount();
  syncCurrentRow();
  updateScrollBar();
  InvalidateGrid();
}

void TCustomDBGridEh::applyColumnWidths() {
  const int indicator = IndicatorOffset();
  if (indicator) SetColWidths(0, 11);
  for (int i = 0; i < columns_.Count(); ++i) {
    const TColumnEh* column = columns_[i];
    const int width = column->Visible() ? column->Width() : ((options_ & dgColLines) ? -1 : 0);
    SetColWidths(i + indicator, width);
  }
}

void TCustomDBGridEh::columnsChanged(TColumnEh* column) {
  if (loading_ || inLayout_) return;
  if (!column) {
    LayoutChanged();
  } else if (!autoFitColWidths_) {
    const int gridCol = column->Index() + IndicatorOffset();
    const int width = column->Visible() ? column->Width() : ((options_ & dgColLines) ? -1 : 0);
    if (gridCol < ColCount() && ColWidths(gridCol) != width) {
      SetColWidths(gridCol, width);
    } else if (useMultiTitle_) {
      LayoutChanged();
    }
    InvalidateGrid();
  }
  const int selected = SelectedIndex();
  if (selected >= 0 && !columns_[selected]->Visible())
    for (int i = 0; i < columns_.Count(); ++i)
      if (columns_[i]->Visible()) {
        selectColumn(i);
        break;
      }
}

void TCustomDBGridEh::updateRowCount() {
  const int offset = DataRowOffset();
  if (Row() < offset && RowCount() > offset) MoveCurrent(Col(), offset);
  const int lineWidth = (options_ & dgRowLines) ? GridLineWidth() : 0;
  const int titleSpace = (offset > 0 ? RowHeights(0) + lineWidth : 0);
  int rows = offset + 1;
  if (link_->Active() && link_->RecordCount() > 0 && HandleAllocated()) {
    const int pitch = DefaultRowHeight() + lineWidth;
    link_->SetBufferCount(std::max(1, (viewport()->height() - titleSpace) / std::max(1, pitch)));
    rows = link_->RecordCount() + offset;
  }
  if (rows < RowCount() && Row() >= rows) MoveCurrent(Col(), rows - 1);
  SetRowCount(rows);
  SetFixedRows(offset);
  SetTopRow(offset);
}

void TCustomDBGridEh::syncCurrentRow() {
  if (!link_->Active() || !HandleAllocated() || loading_) return;
  const int row = link_->ActiveRecord() + DataRowOffset();
  if (row != Row() && row < RowCount()) MoveCurrent(Col(), row);
}

void TCustomDBGridEh::updateScrollBar() {
  TGridScrollInfo info;
  TDataSet* dataSet = DataSet();
  if (link_->Active() && dataSet) {
    if (dataSet->IsSequenced()) {
      info.Page = std::max(1, VisibleDataRowCount());
      info.Min = 1;
      info.Max = std::max(1, dataSet->RecordCount() + info.Page - 1);
      info.Pos = dataSet->State() == dsInsert ? vertInfo_.Pos : dataSet->RecNo();
    } else {
      info.Min = 0;
      info.Max = 4;
      info.Page = 0;
      info.Pos = dataSet->Bof() ? 0 : dataSet->Eof() ? 4 : 2;
    }
  }
  vertInfo_ = info;
  QScrollBar* bar = verticalScrollBar();
  settingScrollBar_ = true;
  const int span = info.Max - info.Min + 1;
  bar->setRange(info.Min, std::max(info.Min, info.Max - std::max(info.Page, 1) + 1));
  bar->setPageStep(std::max(1, info.Page));
  bar->setValue(info.Pos);
  switch (vertMode_) {
    case sbAlwaysShowEh:
      setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      bar->setEnabled(span > info.Page);
      break;
    case sbNeverShowEh: setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff); break;
    case sbAutoShowEh:
      setVerticalScrollBarPolicy(span > info.Page ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
      break;
  }
  settingScrollBar_ = false;
}

void TCustomDBGridEh::vertScrollAction(int action) {
  if (settingScrollBar_ || !link_->Active()) return;
  TDataSet* dataSet = DataSet();
  setFocus();
  const int visible = VisibleDataRowCount();
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: moveBy(-(link_->ActiveRecord() + 1)); break;
    case QAbstractSlider::SliderSingleStepAdd: moveBy(link_->RecordCount() - link_->ActiveRecord()); break;
    case QAbstractSlider::SliderPageStepSub: moveBy(-visible); break;
    case QAbstractSlider::SliderPageStepAdd: moveBy(visible); break;
    case QAbstractSlider::SliderToMinimum: dataSet->First(); break;
    case QAbstractSlider::SliderToMaximum: dataSet->Last(); break;
    case QAbstractSlider::SliderMove:
      // Without tracking the thumb moves alone and the data set follows when it is let go.
      if (!VertScrollBarTracking) return;
      thumbPosition(verticalScrollBar()->sliderPosition());
      break;
    default: break;
  }
  updateScrollBar();
}

void TCustomDBGridEh::thumbPosition(int pos) {
  if (settingScrollBar_ || !link_->Active()) return;
  TDataSet* dataSet = DataSet();
  const int visible = VisibleDataRowCount();
  if (dataSet->IsSequenced()) {
    if (pos <= 1)
      dataSet->First();
    else if (pos < dataSet->RecordCount())
      dataSet->SetRecNo(pos);
    else
      dataSet->Last();
  } else if (pos == 0) {
    dataSet->First();
  } else if (pos == 1) {
    moveBy(-visible);
  } else if (pos == 3) {
    moveBy(visible);
  } else if (pos == 4) {
    dataSet->Last();
  }
  updateScrollBar();
}

void TCustomDBGridEh::moveBy(int distance) {
  if (link_->Active()) link_->MoveBy(distance);
}

void TCustomDBGridEh::LinkActive(bool) {
  const TDBGridEhAccessibleUpdate accessible(*this);
  LayoutChanged();
  updateScrollBar();
}

void TCustomDBGridEh::DataChanged() {
  const TDBGridEhAccessibleUpdate accessible(*this);
  if (!HandleAllocated()) return;
  updateRowCount();
  updateScrollBar();
  syncCurrentRow();
  InvalidateGrid();
}

void TCustomDBGridEh::Scroll(int distance) {
  const TDBGridEhAccessibleUpdate accessible(*this);
  if (!HandleAllocated()) return;
  const int oldRow = Row();
  if (link_->ActiveRecord() + DataRowOffset() >= RowCount()) updateRowCount();
  updateScrollBar();
  syncCurrentRow();
  InvalidateRow(oldRow);
  InvalidateRow(Row());
  if (distance != 0) InvalidateGrid();
}

void TCustomDBGridEh::RecordChanged(TField* field) {
  if (!field) {
    InvalidateGrid();
    return;
  }
  for (int i = 0; i < columns_.Count(); ++i)
    if (columns_[i]->Field() == field) InvalidateCell(i + IndicatorOffset(), Row());
}

void TCustomDBGridEh::EditingChanged() {
  if (options_ & dgIndicator) InvalidateCell(0, Row());
}

void TCustomDBGridEh::LinkLayoutChanged() { LayoutChanged(); }

void TCustomDBGridEh::FocusField(TField*& field) {
  for (int i = 0; i < columns_.Count(); ++i) {
    if (columns_[i]->Field() != field) continue;
    selectColumn(i);
    if (SelectedIndex() == i && isEnabled() && isVisible()) {
      setFocus();
      field = nullptr;
    }
    return;
  }
}

void TCustomDBGridEh::FieldDestroyed(TField* field) {
  bool unbound = false;
  for (int i = 0; i < columns_.Count(); ++i)
    if (columns_[i]->field_ == field) {
      columns_[i]->field_ = nullptr;
      unbound = true;
    }
  // Never rebuilt at once: the data set is in the middle of destroying its fields, and a
  // rebuild now would read them.
  if (unbound) postDeferredLayout();
}

void TCustomDBGridEh::SizeChanged() {
  if (autoFitColWidths_) {
    LayoutChanged();
    return;
  }
  updateRowCount();
  syncCurrentRow();
  updateScrollBar();
}

void TCustomDBGridEh::showEvent(QShowEvent* event) {
  // The window exists from the first show on (a tab page's grid gets it when the page shows):
  // the rows and the buffer follow its height from here.
  TCustomGrid::showEvent(event);
  updateRowCount();
  syncCurrentRow();
  updateScrollBar();
}

void TCustomDBGridEh::ColWidthsChanged() {
  // Widths set by the program reach the columns through them; only the user's sizing is
  // written back here.
  if (inLayout_ || GridState() != gsColSizing) return;
  const int indicator = IndicatorOffset();
  for (int i = 0; i < columns_.Count(); ++i) {
    TColumnEh* column = columns_[i];
    const int width = ColWidths(i + indicator);
    if (!column->Visible() || width == column->Width() || width < 0) continue;
    int clamped = width;
    if (column->MaxWidth() > 0 && clamped > column->MaxWidth()) clamped = column->MaxWidth();
    if (clamped < column->MinWidth()) clamped = column->MinWidth();
    column->SetWidth(clamped);
    if (ColWidths(i + indicator) != column->Width()) SetColWidths(i + indicator, column->Width());
  }
  if (OnColWidthsChanged) OnColWidthsChanged();
}

void TCustomDBGridEh::ColumnMoved(int from, int to) {
  const int indicator = IndicatorOffset();
  TField* moving = columns_[from - indicator]->Field();
  TField* target = columns_[to - indicator]->Field();
  // Automatic columns follow the fields' order, so the field moves; persistent ones move
  // themselves.
  if (columns_.State() == csDefault && moving && target)
    moving->SetIndex(target->Index());
  else
    columns_[from - indicator]->SetIndex(to - indicator);
  if (OnColumnMoved) OnColumnMoved(from - indicator, to - indicator);
}
