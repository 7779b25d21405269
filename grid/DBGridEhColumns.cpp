#include "grid/DBGridEhColumns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "grid/DBGridEh.h"
#include "platform/db/DataSet.h"

TAlignment TColumnTitleDefValuesEh::Alignment() const {
  if (alignmentAssigned_) return alignment_;
  return grid_ && grid_->UseMultiTitle() ? taCenter : taLeftJustify;
}

void TColumnTitleDefValuesEh::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentAssigned_ = true;
  if (grid_) grid_->LayoutChanged();
}

TColor TColumnTitleDefValuesEh::Color() const {
  if (colorAssigned_) return color_;
  return grid_ ? grid_->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesEh::SetColor(TColor color) {
  color_ = color;
  colorAssigned_ = true;
  if (grid_) grid_->InvalidateGrid();
}

AnsiString TColumnTitleEh::Caption() const {
  if (column_->AssignedValue(cvTitleCaption)) return caption_;
  if (const TField* field = column_->Field()) return field->DisplayName();
  return column_->FieldName();
}

void TColumnTitleEh::SetCaption(const AnsiString& caption) {
  caption_ = caption;
  column_->assign(cvTitleCaption);
  column_->changed();
}

TAlignment TColumnTitleEh::Alignment() const {
  if (column_->AssignedValue(cvTitleAlignment)) return alignment_;
  const TCustomDBGridEh* grid = column_->Grid();
  return grid ? grid->ColumnDefValues().Title().Alignment() : taLeftJustify;
}

void TColumnTitleEh::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  column_->assign(cvTitleAlignment);
  column_->changed();
}

TColor TColumnTitleEh::Color() const {
  if (column_->AssignedValue(cvTitleColor)) return color_;
  const TCustomDBGridEh* grid = column_->Grid();
  return grid ? grid->ColumnDefValues().Title().Color() : clBtnFace;
}

void TColumnTitleEh::SetColor(TColor color) {
  color_ = color;
  column_->assign(cvTitleColor);
  column_->changed();
}

QFont TColumnTitleEh::Font() const {
  if (column_->AssignedValue(cvTitleFont)) return font_;
  const TCustomDBGridEh* grid = column_->Grid();
  return grid ? grid->TitleFont() : font_;
}

void TColumnTitleEh::SetFont(const QFont& font) {
  font_ = font;
  column_->assign(cvTitleFont);
  column_->Changed(true);
}

bool TColumnTitleEh::TitleButton() const {
  if (column_->AssignedValue(cvTitleButton)) return titleButton_;
  const TCustomDBGridEh* grid = column_->Grid();
  return grid && grid->ColumnDefValues().Title().TitleButton;
}

void TColumnTitleEh::SetTitleButton(bool on) {
  titleButton_ = on;
  column_->assign(cvTitleButton);
  column_->changed();
}

bool TColumnTitleEh::EndEllipsis() const {
  if (column_->AssignedValue(cvTitleEndEllipsis)) return endEllipsis_;
  const TCustomDBGridEh* grid = column_->Grid();
  return grid && grid->ColumnDefValues().Title().EndEllipsis;
}

void TColumnTitleEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  column_->assign(cvTitleEndEllipsis);
  column_->changed();
}

TTextOrientationEh TColumnTitleEh::Orientation() const {
  const TCustomDBGridEh* grid = column_->Grid();
  return grid ? grid->ColumnDefValues().Title().Orientation : tohHorizontal;
}

bool TColumnTitleEh::ToolTips() const {
  const TCustomDBGridEh* grid = column_->Grid();
  return grid && grid->ColumnDefValues().Title().ToolTips;
}

TColumnEh::TColumnEh(TCollection* collection) : TCollectionItem(collection), title_(this) {}

TColumnEh::~TColumnEh() = default;

TCustomDBGridEh* TColumnEh::Grid() const {
  const auto* columns = dynamic_cast<const TDBGridColumnsEh*>(Collection());
  return columns ? columns->Grid() : nullptr;
}

TField* TColumnEh::Field() const {
  if (field_ || fieldName_.empty()) return field_;
  const TCustomDBGridEh* grid = Grid();
  TDataSet* dataSet = grid ? grid->DataSet() : nullptr;
  if (!dataSet || (!dataSet->Active() && dataSet->DefaultFields())) return nullptr;
  if (TField* found = dataSet->FindField(fieldName_)) {
    field_ = found;
    const_cast<TColumnEh*>(this)->fieldName_ = found->FieldName();
  }
  return field_;
}

void TColumnEh::SetField(TField* field) {
  field_ = field;
  if (field) fieldName_ = field->FieldName();
  if (!stored_) {
    if (!field) fieldName_.clear();
    assigned_.reset();
    initialWidth_ = Width();
  }
  if (TCustomDBGridEh* grid = Grid()) grid->InvalidateGrid();
}

void TColumnEh::SetFieldName(const AnsiString& name) {
  fieldName_ = name;
  field_ = nullptr;
  const TCustomDBGridEh* grid = Grid();
  if (grid && !grid->Loading() && !name.empty()) {
    TDataSet* dataSet = grid->DataSet();
    if (TField* found = dataSet ? dataSet->FindField(name) : nullptr) field_ = found;
    initialWidth_ = Width();
  }
  changed();
}

int TColumnEh::defaultWidth() const {
  TCustomDBGridEh* grid = Grid();
  if (!grid) return 64;
  if (const TField* field = Field()) return grid->DefaultColumnWidth(Font(), field->DisplayWidth());
  return grid->DefaultColWidth();
}

int TColumnEh::Width() const { return assigned_.test(cvWidth) ? width_ : defaultWidth(); }

void TColumnEh::SetWidth(int width) {
  TCustomDBGridEh* grid = Grid();
  TField* field = Field();
  if (!stored_ && field && grid && grid->HandleAllocated() && width >= 0)
    field->SetDisplayWidth(grid->PixelsToDisplayWidth(Font(), width));
  if (width == -1) return;
  if (grid && grid->inLayout_) return;
  if (width == defaultWidth() && !assigned_.test(cvWidth)) return;
  if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
  if (width < minWidth_) width = minWidth_;
  width_ = width;
  assigned_.set(cvWidth);
  changed();
}

void TColumnEh::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(true);
}

TAlignment TColumnEh::Alignment() const {
  if (assigned_.test(cvAlignment)) return alignment_;
  const TField* field = Field();
  return field ? field->Alignment() : taLeftJustify;
}

void TColumnEh::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  assigned_.set(cvAlignment);
  changed();
}

TColor TColumnEh::Color() const {
  if (assigned_.test(cvColor)) return color_;
  const TCustomDBGridEh* grid = Grid();
  return grid ? grid->Color() : clWindow;
}

void TColumnEh::SetColor(TColor color) {
  color_ = color;
  assigned_.set(cvColor);
  changed();
}

QFont TColumnEh::Font() const {
  if (assigned_.test(cvFont)) return font_;
  const TCustomDBGridEh* grid = Grid();
  return grid ? grid->font() : font_;
}

void TColumnEh::SetFont(const QFont& font) {
  font_ = font;
  assigned_.set(cvFont);
  changed();
}

bool TColumnEh::ReadOnly() const {
  if (assigned_.test(cvReadOnly)) return readOnly_;
  const TCustomDBGridEh* grid = Grid();
  const TField* field = Field();
  return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}

void TColumnEh::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  assigned_.set(cvReadOnly);
  changed();
}

void TColumnEh::SetDisplayFormat(const AnsiString& format) {
  displayFormat_ = format;
  changed();
}

void TColumnEh::SetMinWidth(int width) {
  minWidth_ = std::max(0, width);
  changed();
}

void TColumnEh::SetMaxWidth(int width) {
  maxWidth_ = std::max(0, width);
  changed();
}

void TColumnEh::SetAutoFitColWidth(bool on) {
  autoFitColWidth_ = on;
  changed();
}

void TColumnEh::SetEndEllipsis(bool on) {
  endEllipsis_ = on;
  changed();
}

void TColumnEh::SetLayout(TTextLayout layout) {
  layout_ = layout;
  changed();
}

bool TColumnEh::WordWrap() const { return assigned_.test(cvWordWrap) && wordWrap_; }

void TColumnEh::SetWordWrap(bool on) {
  wordWrap_ = on;
  assigned_.set(cvWordWrap);
  changed();
}

void TColumnEh::RestoreDefaults() {
  assigned_.reset();
  changed();
}

namespace {

// The number in a format of digits ("0.00", "#,##0.0"): as many decimals as the format has
// after its point, thousands separated when it has a comma before it.
AnsiString formatNumber(double value, const AnsiString& format) {
  const auto point = format.find('.');
  int decimals = 0;
  if (point != AnsiString::npos)
    for (std::size_t i = point + 1; i < format.size() && (format[i] == '0' || format[i] == '#'); ++i) ++decimals;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  AnsiString text = buffer;
  const bool grouped = format.find(',') < point;
  if (!grouped) return text;
  const std::size_t start = text[0] == '-' ? 1 : 0;
  const std::size_t end = std::min(text.find('.'), text.size());
  const std::size_t digits = end - start;
  AnsiString withCommas = text.substr(0, start);
  for (std::size_t i = 0; i < digits; ++i) {
    if (i > 0 && (digits - i) % 3 == 0) withCommas += ',';
    withCommas += text[start + i];
  }
  return withCommas + text.substr(end);
}

}  // namespace

AnsiString TColumnEh::DisplayText() const {
  const TField* field = Field();
  if (!field) return AnsiString();
  if (displayFormat_.empty()) return field->DisplayText();
  if (field->IsNull()) return AnsiString();
  if (IsNumericFieldType(field->DataType())) return formatNumber(field->AsFloat(), displayFormat_);
  return AnsiString();
}

TDBGridColumnsState TDBGridColumnsEh::State() const {
  return Count() > 0 && (*this)[0]->Stored() ? csCustomized : csDefault;
}

void TDBGridColumnsEh::RestoreDefaults() {
  BeginUpdate();
  for (int i = 0; i < Count(); ++i) (*this)[i]->RestoreDefaults();
  EndUpdate();
}

TColumnEh* TDBGridColumnsEh::AddAutomatic() {
  BeginUpdate();
  auto* column = static_cast<TColumnEh*>(TCollection::Add());
  column->stored_ = false;
  EndUpdate();
  return column;
}

void TDBGridColumnsEh::Update(TCollectionItem* item) {
  if (grid_) grid_->columnsChanged(static_cast<TColumnEh*>(item));
}

int TColumnsEhList::IndexOf(const TColumnEh* column) const {
  const auto it = std::find(items_.begin(), items_.end(), column);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}
