#include "app/VerticalLayout.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "app/PoemFonts.h"

namespace {

// What place() lays out without a line of the sheet to name it: the dynasty, the source.
constexpr int kUnnamed = TVerticalLayout::kTitle - 1;

}  // namespace

TVerticalLayout::TVerticalLayout(const TPoemSheet& sheet, const QFont& font, int columnHeight, TSheetLook look)
    : TVerticalLayout(sheet, std::make_shared<const TPoemFonts>(font), columnHeight, look) {}

TVerticalLayout::TVerticalLayout(const TPoemSheet& sheet, std::shared_ptr<const TPoemFonts> fonts, int columnHeight,
                                 TSheetLook look)
    : fonts_(std::move(fonts)) {
  const int em = fonts_->Em();
  pitch_ = em + std::max(1, em / 8);
  const bool syllables = look.Syllables && HasSyllables(sheet);
  if (syllables) {
    // Every character gets the room of the longest syllable, so that the characters of
    // neighbouring columns stay side by side.
    const int room = em / 4;
    const auto widen = [this, room](const std::vector<TPoemCell>& cells) {
      for (const TPoemCell& cell : cells)
        if (!cell.Syllable.isEmpty())
          pitch_ = std::max(pitch_, static_cast<int>(std::ceil(fonts_->SyllableAdvance(cell.Syllable))) + room);
    };
    widen(sheet.Title);
    widen(sheet.Author);
    for (const auto& line : sheet.Lines) widen(line);
  }
  columnWidth_ = em + (syllables ? std::max(1, em / 8) + fonts_->SyllableHeight() : 0);
  columnGap_ = std::max(2, em / 2);
  const int rows = std::max(1, columnHeight / pitch_);

  lines_.resize(sheet.Lines.size() + 2);
  std::size_t cells = sheet.Title.size() + sheet.Author.size() + sheet.Dynasty.size() + sheet.Source.size() + 2;
  for (const auto& line : sheet.Lines) cells += line.size();
  placed_.reserve(cells);
  if (!sheet.Title.empty()) {
    newColumn(columnGap_);
    place(sheet.Title, kTitle, rows, syllables);
  }
  const bool dynasty = look.Dynasty && !sheet.Dynasty.isEmpty();
  if (dynasty || !sheet.Author.empty()) {
    newColumn(columnGap_);
    if (dynasty) place(CellsOf(QStringLiteral("〔%1〕").arg(sheet.Dynasty)), kUnnamed, rows, false);
    place(sheet.Author, kAuthor, rows, syllables);
  }
  if (look.Source && !sheet.Source.isEmpty()) {
    newColumn(columnGap_);
    place(CellsOf(sheet.Source), kUnnamed, rows, false);
  }
  // The poem keeps a little more distance from the heading than its lines from each other.
  int gap = columns_.empty() ? 0 : columnGap_ + em / 2;
  for (std::size_t line = 0; line < sheet.Lines.size(); ++line) {
    newColumn(gap);
    gap = columnGap_;
    place(sheet.Lines[line], static_cast<int>(line), rows, syllables);
  }

  int tallest = 0;
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const int end = c + 1 < columns_.size() ? columns_[c + 1].First : static_cast<int>(placed_.size());
    tallest = std::max(tallest, end - columns_[c].First);
  }
  if (!columns_.empty()) size_ = QSize(columns_.back().FromRight + columnWidth_, tallest * pitch_);
}

void TVerticalLayout::newColumn(int gap) {
  const int fromRight = columns_.empty() ? 0 : columns_.back().FromRight + columnWidth_ + gap;
  columns_.push_back({static_cast<int>(placed_.size()), fromRight});
  row_ = 0;
}

void TVerticalLayout::place(const std::vector<TPoemCell>& cells, int line, int rows, bool syllables) {
  if (line != kUnnamed)
    lines_[static_cast<std::size_t>(line - kTitle)] = {static_cast<int>(placed_.size()),
                                                       static_cast<int>(cells.size())};
  for (const TPoemCell& cell : cells) {
    if (row_ == rows) newColumn(columnGap_);
    TVerticalGlyph glyph = VerticalGlyphOf(cell.Text, *fonts_);
    placed_.push_back({std::move(glyph.Glyph), syllables ? cell.Syllable : QString(), row_++, glyph.Stance, cell.Red});
  }
}

int TVerticalLayout::columnOf(int cell) const {
  const auto after = std::upper_bound(columns_.begin(), columns_.end(), cell,
                                      [](int c, const TColumn& column) { return c < column.First; });
  return static_cast<int>(after - columns_.begin()) - 1;
}

int TVerticalLayout::columnLeft(int column) const {
  return size_.width() - columns_[static_cast<std::size_t>(column)].FromRight - columnWidth_;
}

QRect TVerticalLayout::ColumnRect(int column) const {
  if (column < 0 || column >= ColumnCount()) return {};
  return QRect(columnLeft(column), 0, columnWidth_, size_.height());
}

QRect TVerticalLayout::cellRect(int cell, int column) const {
  const int em = fonts_->Em();
  return QRect(columnLeft(column), placed_[static_cast<std::size_t>(cell)].Row * pitch_ + (pitch_ - em) / 2, em, em);
}

QRect TVerticalLayout::CellRect(int line, int index) const {
  if (line < kTitle || line - kTitle >= static_cast<int>(lines_.size())) return {};
  const TLineCells& cells = lines_[static_cast<std::size_t>(line - kTitle)];
  if (index < 0 || index >= cells.Count) return {};
  return cellRect(cells.First + index, columnOf(cells.First + index));
}

template <typename Visit>
void TVerticalLayout::forVisible(const QPoint& origin, const QRect& clip, Visit&& visit) const {
  const int firstRow = std::max(0, (clip.top() - origin.y()) / pitch_);
  const int lastRow = (clip.bottom() - origin.y()) / pitch_;
  // Columns run from right to left: skip those right of the clip, stop at the first one left of it.
  for (int c = 0; c < ColumnCount(); ++c) {
    const int left = origin.x() + columnLeft(c);
    if (left > clip.right()) continue;
    if (left + columnWidth_ <= clip.left()) break;
    const int first = columns_[static_cast<std::size_t>(c)].First;
    const int end =
        c + 1 < ColumnCount() ? columns_[static_cast<std::size_t>(c) + 1].First : static_cast<int>(placed_.size());
    for (int cell = first + firstRow; cell < end && cell <= first + lastRow; ++cell)
      visit(placed_[static_cast<std::size_t>(cell)], cellRect(cell, c).translated(origin));
  }
}

void TVerticalLayout::paint(QPainter& painter, const QPoint& origin, const QRect& clip) const {
  if (placed_.empty()) return;
  painter.save();
  painter.setFont(fonts_->Text());
  bool red = false;
  painter.setPen(kPoemInk);
  bool syllables = false;
  forVisible(origin, clip, [&](const TPlaced& cell, const QRect& square) {
    if (cell.Red != red) {
      red = cell.Red;
      painter.setPen(red ? kPoemRed : kPoemInk);
    }
    paintGlyph(painter, square.topLeft(), cell);
    syllables = syllables || !cell.Syllable.isEmpty();
  });
  if (syllables) {
    // Syllables read top to bottom: in a painter turned a quarter clockwise, the point (x, y)
    // of the page is at (y, -x).
    painter.setFont(fonts_->Syllables());
    painter.setPen(kPoemInk);
    painter.rotate(90);
    const int em = fonts_->Em();
    const qreal band = em + std::max(1, em / 8) + fonts_->SyllableHeight() / 2.0;
    forVisible(origin, clip, [&](const TPlaced& cell, const QRect& square) {
      if (cell.Syllable.isEmpty()) return;
      const QPointF centre(square.left() + band, square.top() + em / 2.0);
      fonts_->DrawSyllable(painter, QPointF(centre.y(), -centre.x()), cell.Syllable);
    });
  }
  painter.restore();
}

void TVerticalLayout::paintGlyph(QPainter& painter, const QPoint& at, const TPlaced& cell) const {
  const int em = fonts_->Em();
  switch (cell.Stance) {
    case TStance::Upright:
      fonts_->DrawGlyph(painter, at, cell.Glyph);
      break;
    case TStance::Corner:
      fonts_->DrawGlyph(painter, QPointF(at.x() + em / 2.0, at.y() - em / 2.0), cell.Glyph);
      break;
    case TStance::Turned: {
      const QTransform upright = painter.worldTransform();
      painter.translate(at.x() + em / 2.0, at.y() + em / 2.0);
      painter.rotate(90);
      fonts_->DrawGlyph(painter, QPointF(-em / 2.0, -em / 2.0), cell.Glyph);
      painter.setWorldTransform(upright);
      break;
    }
  }
}
