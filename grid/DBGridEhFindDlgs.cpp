#include "grid/DBGridEhFindDlgs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "grid/DBGridEh.h"
#include "grid/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* l = Place(new QLabel(caption, parent), name, left, top, 0, 0);
  l->adjustSize();
  return l;
}

QComboBox* combo(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* box = Place(new QComboBox(parent), name, left, top, width, height);
  box->setMaxVisibleItems(17);
  return box;
}

void showFindDialog(TCustomDBGridEh& grid, const AnsiString& text, const AnsiString&, bool modal) {
  DBGridEhFindDlg().Execute(grid, text, modal);
}

}  // namespace

// Defined here, so that the grid's use of the slot brings the dialog into every program.
TDBGridEhShowFindDialogProc DBGridEhShowFindDialogProc = showFindDialog;

TDBGridEhFindDlg& DBGridEhFindDlg() {
  static TDBGridEhFindDlg* dialog = nullptr;
  if (!dialog) dialog = new TDBGridEhFindDlg();
  return *dialog;
}

TDBGridEhFindDlg::TDBGridEhFindDlg() : TForm("DBGridEhFindDlg") {
  setWindowTitle(QStringLiteral("查找文本"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(12);
  setFont(font);
  setFixedSize(505, 124);

  Label1 = label(this, "Label1", QStringLiteral("查找内容(&N)："), 10, 12);
  cbText = combo(this, "cbText", 88, 9, 316, 20);
  cbText->setEditable(true);
  cbText->setInsertPolicy(QComboBox::NoInsert);
  Label2 = label(this, "Label2", QStringLiteral("查找范围(&I)："), 10, 35);
  cbFindIn = combo(this, "cbFindIn", 88, 32, 192, 20);
  cbMatchType = label(this, "cbMatchType", QStringLiteral("匹配(&H)："), 10, 58);
  cbMatchinType = combo(this, "cbMatchinType", 88, 55, 193, 20);
  cbMatchinType->addItem(QStringLiteral("区域的任意位置"), QStringLiteral("From any part of field"));
  cbMatchinType->addItem(QStringLiteral("整个区域"), QStringLiteral("Whole field"));
  cbMatchinType->addItem(QStringLiteral("区域的开始位置"), QStringLiteral("From beging of field"));
  cbMatchinType->setCurrentIndex(0);
  Label3 = label(this, "Label3", QStringLiteral("搜索方向(&R)："), 10, 82);
  cbFindDirection = combo(this, "cbFindDirection", 88, 79, 193, 20);
  cbFindDirection->addItem(QStringLiteral("向上"), QStringLiteral("Up"));
  cbFindDirection->addItem(QStringLiteral("向下"), QStringLiteral("Down"));
  cbFindDirection->addItem(QStringLiteral("全部"), QStringLiteral("All"));
  cbFindDirection->setCurrentIndex(2);
  cbCharCase = Place(new QCheckBox(QStringLiteral("区分大小写(&C)"), this), "cbCharCase", 88, 105, 102, 14);
  cbUseFormat = Place(new QCheckBox(QStringLiteral("模糊查询(O)"), this), "cbUseFormat", 260, 105, 89, 14);
  cbUseFormat->setChecked(true);
  bFind = Place(new QPushButton(QStringLiteral("继续查找(&F)"), this), "bFind", 413, 9, 82, 23);
  bCancel = Place(new QPushButton(QStringLiteral("关闭"), this), "bCancel", 413, 37, 82, 22);
  Label1->setBuddy(cbText);
  Label2->setBuddy(cbFindIn);
  cbMatchType->setBuddy(cbMatchinType);
  Label3->setBuddy(cbFindDirection);
  QWidget::setTabOrder(cbText, cbFindIn);
  QWidget::setTabOrder(cbFindIn, cbMatchinType);
  QWidget::setTabOrder(cbMatchinType, cbFindDirection);
  QWidget::setTabOrder(cbFindDirection, cbCharCase);
  QWidget::setTabOrder(cbCharCase, cbUseFormat);
  QWidget::setTabOrder(cbUseFormat, bFind);
  QWidget::setTabOrder(bFind, bCancel);

  connect(bFind, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(bCancel, &QPushButton::clicked, this, [this] {
    SetModalResult(mrCancel);
    hide();
  });
  connect(cbFindIn, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling_) buildColumnList();
  });
  connect(cbText, &QComboBox::editTextChanged, this, [this] { reset(); });
  connect(cbFindDirection, &QComboBox::currentIndexChanged, this, [this] { reset(); });
  for (QWidget* control : findChildren<QWidget*>()) control->installEventFilter(this);
  FinishLoading();
}

void TDBGridEhFindDlg::Execute(TCustomDBGridEh& grid, const AnsiString& text, bool modal) {
  position_ = -1;
  cbText->setEditText(text::toQString(text));
  grid_ = &grid;
  filling_ = true;
  cbFindIn->clear();
  const TColumnsEhList& visible = grid.VisibleColumns();
  for (int i = 0; i < visible.Count(); ++i) {
    const QString caption = text::toQString(visible[i]->Title().Caption());
    cbFindIn->addItem(caption, QVariant::fromValue(static_cast<void*>(visible[i])));
  }
  cbFindIn->addItem(QStringLiteral("<全部>"), QVariant::fromValue(static_cast<void*>(nullptr)));
  int selected = -1;
  if (const int index = grid.SelectedIndex(); index >= 0) {
    const QString caption = text::toQString(grid.Columns()[index]->Title().Caption());
    for (int i = 0; i < cbFindIn->count() && selected < 0; ++i)
      if (cbFindIn->itemText(i) == caption) selected = i;
  }
  cbFindIn->setCurrentIndex(selected);
  filling_ = false;
  firstTry_ = true;
  if (isVisible()) hide();
  cbText->setFocus();
  buildColumnList();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  if (modal) {
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    ShowModal();
  } else {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    activateWindow();
  }
}

void TDBGridEhFindDlg::buildColumnList() {
  if (cbFindIn->currentIndex() < 0) {
    filling_ = true;
    cbFindIn->setCurrentIndex(cbFindIn->count() - 1);
    filling_ = false;
  }
  columns_.Clear();
  const int last = cbFindIn->count() - 1;
  if (cbFindIn->currentIndex() == last) {
    for (int i = 0; i < last; ++i) columns_.Add(static_cast<TColumnEh*>(cbFindIn->itemData(i).value<void*>()));
  } else if (auto* column = static_cast<TColumnEh*>(cbFindIn->currentData().value<void*>())) {
    columns_.Add(column);
  }
  reset();
}

void TDBGridEhFindDlg::reset() {
  firstTry_ = true;
  const int direction = cbFindDirection->currentIndex();
  position_ = (direction == 1 || direction == 2) ? 0 : columns_.Count() - 1;
}

bool TDBGridEhFindDlg::forwards() const {
  const bool reverse = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
  const int direction = cbFindDirection->currentIndex();
  return (direction != 0) != reverse;
}

void TDBGridEhFindDlg::advance(bool forward) {
  TDataSet* dataSet = grid_->DataSet();
  const int last = columns_.Count() - 1;
  if (forward) {
    if (position_ >= last) {
      dataSet->Next();
      position_ = 0;
    } else {
      ++position_;
    }
  } else if (position_ <= 0) {
    dataSet->Prior();
    position_ = last;
  } else {
    --position_;
  }
}

bool TDBGridEhFindDlg::matches(const AnsiString& cellText, const AnsiString& searchText) const {
  const bool caseSensitive = cbCharCase->isChecked();
  const AnsiString cell = caseSensitive ? cellText : text::upperAscii(cellText);
  const AnsiString search = caseSensitive ? searchText : text::upperAscii(searchText);
  switch (cbMatchinType->currentIndex()) {
    case 1: return cell == search;
    case 2: return cell.compare(0, search.size(), search) == 0;
    default: return text::findText(cell, search) != AnsiString::npos;
  }
}

void TDBGridEhFindDlg::FindNext() {
  const bool forward = forwards();
  const QString typed = cbText->currentText();
  if (cbText->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) cbText->addItem(typed);
  const AnsiString search = text::fromQString(typed);
  bool found = false;
  TDataSet* dataSet = grid_ ? grid_->DataSet() : nullptr;
  if (dataSet && dataSet->Active() && columns_.Count() > 0) {
    TGridDataLinkEh& link = grid_->DataLink();
    dataSet->DisableControls();
    try {
      const int buffered = link.RecordCount();
      const int offset = link.ActiveRecord() - buffered / 2 + (buffered + 1) % 2;
      dataSet->MoveBy(-offset);
      const TBookmark saved = dataSet->GetBookmark();
      dataSet->MoveBy(offset);
      if (cbFindDirection->currentIndex() == 2 && firstTry_) dataSet->First();
      if (!firstTry_) advance(forward);
      while (!(forward ? dataSet->Eof() : dataSet->Bof())) {
        TColumnEh* column = columns_[std::clamp(position_, 0, columns_.Count() - 1)];
        const TField* field = column->Field();
        const AnsiString cell = cbUseFormat->isChecked() ? column->DisplayText() : field ? field->AsString() : AnsiString();
        if (matches(cell, search)) {
          found = true;
          firstTry_ = false;
          if (!cbCharCase->isChecked()) grid_->SetSelectedIndex(column->Index());
          break;
        }
        advance(forward);
      }
      if (!found) {
        dataSet->GotoBookmark(saved);
        dataSet->MoveBy(offset);
      }
    } catch (...) {
      dataSet->EnableControls();
      throw;
    }
    dataSet->EnableControls();
  }
  if (!found) {
    const QString title = Application ? text::toQString(Application->Title()) : QString();
    MessageBoxWithCaption(title, QStringLiteral("字符 \"%1\" 没有找到。").arg(typed), TMsgDlgType::mtInformation, mbOK);
  }
}

bool TDBGridEhFindDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return TForm::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) return TForm::eventFilter(watched, event);
  // An open drop-down list takes its own Enter and Esc.
  if (auto* box = qobject_cast<QComboBox*>(watched); box && box->view()->isVisible()) return false;
  if (key == Qt::Key_Escape)
    bCancel->click();
  else
    FindNext();
  return true;
}
