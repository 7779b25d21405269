#include "app/PoemPinyin.h"

#include <algorithm>
#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTimer>

#include "app/PoemViewText.h"
#include "app/ReaderConfig.h"
#include "platform/forms/OverlaidTextEdit.h"
#include "platform/text/PinyinDictionary.h"
#include "platform/text/PinyinReading.h"

namespace {

// The syllables' size against the view's characters.
constexpr double kSyllableScale = 0.55;


std::filesystem::path& dictionaryFile() {
  static std::filesystem::path file;
  return file;
}

QFont syllableFont(const QFont& viewFont) {
  QFont font(QStringLiteral("DejaVu Sans"));
  const int pixels = viewFont.pixelSize() > 0 ? viewFont.pixelSize() : QFontMetrics(viewFont).height();
  font.setPixelSize(std::max(6, static_cast<int>(pixels * kSyllableScale + 0.5)));
  return font;
}

// The letter spacing of the block's last character: the spacing is set from a heading's end to
// the block's end, so the last character always has it.
qreal lastSpacing(const QTextBlock& block) {
  QTextCharFormat last;
  for (auto it = block.begin(); !it.atEnd(); ++it) last = it.fragment().charFormat();
  return last.fontLetterSpacing();
}

}  // namespace

// A block that carries syllables: for each position of its text the syllable of the character
// that starts there, or empty.
struct PoemPinyin::TLine {
  int Block;
  int From;  // where the characters with syllables begin: after a heading, or 0
  QString Text;
  std::vector<QString> Syllables;
  qreal Spacing = 0;  // added after each character, so that no two syllables meet
};

PoemPinyin::PoemPinyin(TOverlaidTextEdit* view, QAction* item, QLabel* status)
    : QObject(view), view_(view), item_(item), status_(status) {
  setObjectName(QStringLiteral("PoemPinyin"));
  item_->setCheckable(true);
  shown_ = ReadSetting(kPinyinSetting).value_or(0) == 1;
  item_->setChecked(shown_);
  connect(item_, &QAction::triggered, this, [this](bool checked) { SetShown(checked); });
  view_->OnPaintOver = [this](QPainter& painter) { paint(painter); };
  view_->installEventFilter(this);
  // Every change of the text or its formats; a change of formats only costs a comparison.
  connect(view_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!laying_) QTimer::singleShot(0, this, [this] { relayout(); });
  });
}

// The view owns the pinyin and goes first: its painter hook never outlives it.
PoemPinyin::~PoemPinyin() = default;

bool PoemPinyin::loadReader() {
  if (reader_) return true;
  if (loadFailed_) return false;
  try {
    reader_ = std::make_unique<text::PinyinReader>(text::PinyinDictionary::Load(
        dictionaryFile().empty() ? text::PinyinDictionaryBesideProgram() : dictionaryFile()));
    return true;
  } catch (const std::exception& error) {
    loadFailed_ = true;
    status_->setText(QStringLiteral("拼音不可用：") + QString::fromUtf8(error.what()));
    return false;
  }
}

void PoemPinyin::SetShown(bool shown) {
  if (shown && !loadReader()) shown = false;
  item_->setChecked(shown);
  if (shown == shown_) return;
  shown_ = shown;
  WriteSetting(kPinyinSetting, shown ? 1 : 0);
  Refresh();
}

void PoemPinyin::Refresh() { relayout(); }

int PoemPinyin::bandHeight() const { return QFontMetrics(syllableFont(view_->font())).height(); }

void PoemPinyin::relayout() {
  if (laying_) return;
  QTextDocument* document = view_->document();
  std::vector<TLine> lines;
  const QTextBlock first = document->firstBlock();
  const bool poem = first.text().startsWith(kTitleHeading) && first.next().text().startsWith(kAuthorHeading);
  if (shown_ && poem && !loadReader()) {
    // Kept on from an earlier run, but the dictionary cannot be had: off, and the status says why.
    shown_ = false;
    item_->setChecked(false);
  }
  if (shown_ && poem) {
    // The title and the author after their headings, then the poem's lines: from the blank line
    // that ends the headings up to the next heading.
    std::vector<std::pair<QTextBlock, int>> wanted{{first, static_cast<int>(kTitleHeading.size())},
                                                   {first.next(), static_cast<int>(kAuthorHeading.size())}};
    QTextBlock block = first.next();
    while (block.isValid() && !block.text().isEmpty()) block = block.next();
    for (block = block.next();
         block.isValid() && !block.text().startsWith(kSectionMark) && !block.text().startsWith(kSourceHeading);
         block = block.next())
      wanted.emplace_back(block, 0);
    for (const auto& [b, from] : wanted) {
      const QString text = b.text();
      const auto cached = std::find_if(lines_.begin(), lines_.end(),
                                       [&](const TLine& l) { return l.Block == b.blockNumber() && l.Text == text; });
      if (cached != lines_.end()) {
        lines.push_back(*cached);
        continue;
      }
      TLine line{b.blockNumber(), from, text, std::vector<QString>(static_cast<std::size_t>(text.size()))};
      std::u32string codePoints;
      std::vector<int> positions;
      for (int i = from; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        positions.push_back(i);
        codePoints.push_back(pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode());
        if (pair) ++i;
      }
      const std::vector<std::string> readings = reader_->Readings(codePoints);
      bool any = false;
      for (std::size_t k = 0; k < readings.size() && k < positions.size(); ++k)
        if (!readings[k].empty()) {
          line.Syllables[static_cast<std::size_t>(positions[k])] = QString::fromStdString(readings[k]);
          any = true;
        }
      if (any) lines.push_back(std::move(line));
    }
  }

  // Room above every row of a block with syllables, and between its characters for the widest of
  // its syllables; none elsewhere. A row's room is the distance after the row above it; a block
  // after one without syllables has it as its top margin, the first block as the document's.
  const int band = bandHeight();
  const QFontMetricsF syllableMetrics(syllableFont(view_->font()));
  const qreal character = QFontMetricsF(view_->font()).horizontalAdvance(QChar(0x56FD));
  for (TLine& line : lines) {
    qreal widest = 0;
    for (const QString& syllable : line.Syllables) widest = std::max(widest, syllableMetrics.horizontalAdvance(syllable));
    line.Spacing = std::max<qreal>(0, std::ceil(widest + band / 2.0 - character));
  }
  const auto carried = [&lines](int block) -> const TLine* {
    const auto it = std::find_if(lines.begin(), lines.end(), [block](const TLine& l) { return l.Block == block; });
    return it == lines.end() ? nullptr : &*it;
  };
  laying_ = true;
  QTextCursor cursor(document);
  bool editing = false;
  const auto edit = [&] {
    if (!editing) cursor.beginEditBlock();
    editing = true;
  };
  QTextFrameFormat root = document->rootFrame()->frameFormat();
  const qreal rootTop = document->documentMargin() + (carried(0) ? band : 0);
  if (root.topMargin() != rootTop) {
    edit();
    root.setTopMargin(rootTop);
    document->rootFrame()->setFrameFormat(root);
  }
  for (QTextBlock b = document->firstBlock(); b.isValid(); b = b.next()) {
    const TLine* line = carried(b.blockNumber());
    QTextBlockFormat format = b.blockFormat();
    const qreal top = line && b.blockNumber() > 0 && !carried(b.blockNumber() - 1) ? band : 0;
    const int type = line ? QTextBlockFormat::LineDistanceHeight : QTextBlockFormat::SingleHeight;
    const qreal distance = line ? band : 0;
    // A syllable wider than the first character of a row reaches out to its left.
    const qreal left = line ? std::ceil(line->Spacing / 2) : 0;
    if (format.topMargin() != top || format.lineHeightType() != type || format.lineHeight() != distance ||
        format.leftMargin() != left) {
      edit();
      format.setTopMargin(top);
      format.setLineHeight(distance, type);
      format.setLeftMargin(left);
      cursor.setPosition(b.position());
      cursor.setBlockFormat(format);
    }
    const qreal spacing = line ? line->Spacing : 0;
    const int from = line ? line->From : 0;
    if (b.length() - 1 > from && lastSpacing(b) != spacing) {
      edit();
      QTextCharFormat wide;
      wide.setFontLetterSpacingType(QFont::AbsoluteSpacing);
      wide.setFontLetterSpacing(spacing);
      cursor.setPosition(b.position() + from);
      cursor.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
      cursor.mergeCharFormat(wide);
    }
  }
  if (editing) cursor.endEditBlock();
  laying_ = false;
  lines_ = std::move(lines);
  view_->viewport()->update();
}

std::vector<QString> PoemPinyin::SyllablesOf(const QTextBlock& block) const {
  for (const TLine& line : lines_)
    if (line.Block == block.blockNumber() && line.Text == block.text()) return line.Syllables;
  return {};
}

void PoemPinyin::paint(QPainter& painter) const {
  if (lines_.empty()) return;
  QTextDocument* document = view_->document();
  const QFont font = syllableFont(view_->font());
  const int band = bandHeight();
  const QPointF scroll(view_->horizontalScrollBar()->value(), view_->verticalScrollBar()->value());
  painter.setFont(font);
  painter.setPen(view_->palette().color(QPalette::Text));
  for (const TLine& line : lines_) {
    const QTextBlock block = document->findBlockByNumber(line.Block);
    const QTextLayout* layout = block.layout();
    // A text replaced a moment ago keeps its old syllables out until they are laid out again.
    if (!block.isValid() || !layout || block.text() != line.Text) continue;
    const QPointF origin = layout->position() - scroll;
    for (int i = 0; i < static_cast<int>(line.Syllables.size()); ++i) {
      const QString& syllable = line.Syllables[static_cast<std::size_t>(i)];
      if (syllable.isEmpty()) continue;
      const QTextLine row = layout->lineForTextPosition(i);
      if (!row.isValid()) continue;
      const int next = i + (line.Text[i].isHighSurrogate() ? 2 : 1);
      const qreal left = row.cursorToX(i), right = row.cursorToX(next) - line.Spacing;
      const qreal centre = origin.x() + (left + right) / 2;
      const qreal top = origin.y() + row.y() - band;
      // Wide enough for any syllable; the text is centred and never clipped to the character.
      const QRectF room(centre - band * 4, top, band * 8, band);
      painter.drawText(room, Qt::AlignHCenter | Qt::AlignBottom, syllable);
    }
  }
}

bool PoemPinyin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::FontChange) QTimer::singleShot(0, this, [this] { relayout(); });
  return false;
}

void SetPoemPinyinDictionary(std::filesystem::path file) { dictionaryFile() = std::move(file); }

PoemPinyin* PoemPinyinOf(const QObject& window) { return window.findChild<PoemPinyin*>(QStringLiteral("PoemPinyin")); }
