#include "app/PoemColumns.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "app/PoemPinyin.h"
#include "app/PoemPrinting.h"
#include "app/PoemSheet.h"
#include "app/PoemViewText.h"
#include "app/PoemZoom.h"
#include "app/ReaderConfig.h"
#include "app/VerticalPoemView.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/PrintDialogs.h"

namespace {

// The cells of `block` from `from` on: each character with the red of its format and its syllable.
std::vector<TPoemCell> cellsOf(const QTextBlock& block, int from, const PoemPinyin* pinyin) {
  const QString text = block.text().mid(from);
  std::vector<TPoemCell> cells = CellsOf(text);
  std::vector<QString> syllables;
  if (pinyin && pinyin->Shown()) syllables = pinyin->SyllablesOf(block);
  int at = from;
  for (TPoemCell& cell : cells) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (at >= fragment.position() - block.position() &&
          at < fragment.position() - block.position() + fragment.length()) {
        cell.Red = fragment.charFormat().foreground().color() == QColor(255, 0, 0);
        break;
      }
    }
    if (static_cast<std::size_t>(at) < syllables.size()) cell.Syllable = syllables[static_cast<std::size_t>(at)];
    at += static_cast<int>(cell.Text.size());
  }
  return cells;
}

}  // namespace

PoemColumns::PoemColumns(QTextEdit* view, QAction* vertical, QAction* print, QAction* picture, QLabel* status)
    : QObject(view->window()), view_(view), vertical_item_(vertical), status_(status) {
  setObjectName(QStringLiteral("PoemColumns"));
  columns_ = new TVerticalPoemView(view->parentWidget());
  columns_->setObjectName(QStringLiteral("VerticalView"));
  columns_->setAccessibleName(QStringLiteral("诗词（竖排）"));
  columns_->setPalette(view->palette());
  columns_->SetFont(view->font());
  columns_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(columns_, &QWidget::customContextMenuRequested, view,
          [view, this](const QPoint& at) { emit view->customContextMenuRequested(view->viewport()->mapFrom(columns_, at)); });
  if (QLayout* frame = view->parentWidget()->layout()) frame->addWidget(columns_);
  columns_->hide();
  if (PoemZoom* zoom = PoemZoomOf(*view->window())) columns_->viewport()->installEventFilter(zoom);
  view_->installEventFilter(this);
  // Whatever else puts text into the view (the read-me when the window is activated) is looked at
  // once it is there.
  connect(view_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!vertical_ || stale_) return;
    stale_ = true;
    QTimer::singleShot(0, this, [this] {
      if (stale_) Refresh();
    });
  });

  vertical_item_->setCheckable(true);
  connect(vertical_item_, &QAction::triggered, this, [this](bool checked) { SetVertical(checked); });
  connect(print, &QAction::triggered, this, [this] { Print(); });
  connect(picture, &QAction::triggered, this, [this] { SavePicture(); });
  SetVertical(ReadSetting(kVerticalSetting).value_or(0) == 1);
}

void PoemColumns::SetVertical(bool on) {
  vertical_item_->setChecked(on);
  if (on != vertical_) WriteSetting(kVerticalSetting, on ? 1 : 0);
  vertical_ = on;
  Refresh();
}

TPoemSheet PoemColumns::Sheet() const {
  TPoemSheet sheet;
  const PoemPinyin* pinyin = PoemPinyinOf(*view_);
  QTextBlock block = view_->document()->begin();
  if (!block.isValid() || !block.text().startsWith(kTitleHeading)) return sheet;
  sheet.Title = cellsOf(block, static_cast<int>(kTitleHeading.size()), pinyin);
  // The heading lines, then a blank line, then the poem's lines up to its source or a section.
  bool lines = false;
  for (block = block.next(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    if (!lines) {
      if (text.startsWith(kAuthorHeading)) sheet.Author = cellsOf(block, static_cast<int>(kAuthorHeading.size()), pinyin);
      if (text.startsWith(kDynastyHeading)) sheet.Dynasty = text.mid(kDynastyHeading.size());
      lines = text.isEmpty();
      continue;
    }
    if (text.startsWith(kSourceHeading)) {
      sheet.Source = text;
      break;
    }
    if (text.isEmpty() || text.startsWith(kSectionMark)) break;
    sheet.Lines.push_back(cellsOf(block, 0, pinyin));
  }
  return sheet;
}

void PoemColumns::Refresh() {
  // A poem shown is refreshed here at once: the change of text it made needs no second look.
  stale_ = false;
  TPoemSheet sheet;
  if (vertical_) sheet = Sheet();
  // Only a poem is set in columns: the read-me and the statement of a poem without text stay
  // in the view.
  const bool columns = !sheet.Lines.empty();
  if (columns) {
    const PoemPinyin* pinyin = PoemPinyinOf(*view_);
    columns_->SetFont(view_->font());
    columns_->SetSyllablesShown(pinyin && pinyin->Shown());
    columns_->SetSheet(sheet);
  }
  const bool focus = view_->hasFocus() || columns_->hasFocus();
  columns_->setVisible(columns);
  view_->setVisible(!columns);
  if (focus) (columns ? static_cast<QWidget*>(columns_) : view_)->setFocus();
}

bool PoemColumns::eventFilter(QObject* watched, QEvent* event) {
  // The zoom sets the view's font: the columns follow.
  if (watched == view_ && event->type() == QEvent::FontChange && vertical_) Refresh();
  return QObject::eventFilter(watched, event);
}

void PoemColumns::Print() {
  const TPoemSheet sheet = Sheet();
  if (sheet.Lines.empty()) return;
  QPrinter printer(QPrinter::HighResolution);
  if (!ChoosePrinter(view_->window(), printer)) return;
  if (!PrintPoem(printer, sheet, vertical_, view_->font())) status_->setText(QStringLiteral("无法打印这首诗"));
}

QString PoemColumns::SavePicture() {
  const TPoemSheet sheet = Sheet();
  if (sheet.Lines.empty()) return {};
  QString title;
  for (const TPoemCell& cell : sheet.Title) title += cell.Text;
  // A title never names a folder: its separators become the full-width ones.
  title.replace(QLatin1Char('/'), QChar(0xFF0F));
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  const QString file = ChooseFileToSave(view_->window(), QStringLiteral("保存为图片"),
                                        QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(title + QStringLiteral(".png")),
                                        QStringLiteral("PNG 图片 (*.png)"));
  if (file.isEmpty()) return {};
  const qreal screenScale = view_->devicePixelRatioF();
  const QImage image = RenderPoemImage(sheet, vertical_, view_->font(), view_->palette().color(QPalette::Base), 2 * screenScale);
  if (image.isNull() || !image.save(file, "PNG")) {
    status_->setText(QStringLiteral("无法保存图片 ") + file);
    return {};
  }
  status_->setText(QStringLiteral("已保存图片 ") + file);
  return file;
}

PoemColumns* PoemColumnsOf(const QObject& window) { return window.findChild<PoemColumns*>(QStringLiteral("PoemColumns")); }
