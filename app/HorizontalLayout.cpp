#include "app/HorizontalLayout.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "app/PoemFonts.h"

namespace {

// What place() lays out without a line of the sheet to name it: the dynasty, the source.
constexpr int kUnnamed = THorizontalLayout::kTitle - 1;

bool closesPhrase(const QString& glyph) {
  static const QString kClosing = QStringLiteral("，。、；：？！…—」』”’）》〉】〕〗．,.;:?!)");
  return glyph.size() == 1 && kClosing.contains(glyph.at(0));
}

}  // namespace

THorizontalLayout::THorizontalLayout(const TPoemSheet& sheet, const QFont& font, int rowWidth, TSheetLook look)
    : THorizontalLayout(sheet, std::make_shared<const TPoemFonts>(font), rowWidth, look) {}

THorizontalLayout::THorizontalLayout(const TPoemSheet& sheet, std::shared_ptr<const TPoemFonts> fonts, int rowWidth,
                                     TSheetLook look)
    : fonts_(std::move(fonts)), rowWidth_(rowWidth) {
  const int em = fonts_->Em();
  const bool syllables = look.Syllables && HasSyllables(sheet);
  band_ = syllables ? fonts_->SyllableHeight() + std::max(1, em / 8) : 0;
  pitch_ = band_ + em + em / 2;

  lines_.resize(sheet.Lines.size() + 2);
  if (!sheet.Title.empty()) {
    newRow(true, 0);
    place(sheet.Title, kTitle, true, syllables);
  }
  const bool dynasty = look.Dynasty && !sheet.Dynasty.isEmpty();
  if (dynasty || !sheet.Author.empty()) {
    newRow(true, 0);
    if (dynasty) place(CellsOf(QStringLiteral("〔%1〕").arg(sheet.Dynasty)), kUnnamed, true, false);
    place(sheet.Author, kAuthor, true, syllables);
  }
  if (look.Source && !sheet.Source.isEmpty()) {
    newRow(true, 0);
    place(CellsOf(sheet.Source), kUnnamed, true, false);
  }
  // The poem keeps a little more distance from the heading than its lines from each other.
  int gap = rows_.empty() ? 0 : em / 2;
  for (std::size_t line = 0; line < sheet.Lines.size(); ++line) {
    newRow(false, gap);
    gap = 0;
    place(sheet.Lines[line], static_cast<int>(line), false, syllables);
  }

  qreal widest = 0;
  for (const TRow& row : rows_) widest = std::max(widest, row.Width);
  if (!rows_.empty()) size_ = QSize(static_cast<int>(std::ceil(widest)), rows_.back().Top + pitch_);
}

void THorizontalLayout::newRow(bool centred, int gap) {
  const int top = rows_.empty() ? 0 : rows_.back().Top + pitch_ + gap;
  rows_.push_back({static_cast<int>(placed_.size()), top, 0, centred});
}

void THorizontalLayout::place(const std::vector<TPoemCell>& cells, int line, bool centred, bool syllables) {
  if (line != kUnnamed)
    lines_[static_cast<std::size_t>(line - kTitle)] = {static_cast<int>(placed_.size()),
                                                       static_cast<int>(cells.size())};
  const int room = fonts_->Em() / 4;
  for (const TPoemCell& cell : cells) {
    const QString syllable = syllables ? cell.Syllable : QString();
    qreal width = fonts_->Advance(cell.Text);
    if (!syllable.isEmpty()) width = std::max(width, fonts_->SyllableAdvance(syllable) + room);
    const bool rowHasCells = static_cast<int>(placed_.size()) > rows_.back().First;
    if (rowHasCells && rows_.back().Width + width > rowWidth_ && !closesPhrase(cell.Text)) newRow(centred, 0);
    TRow& row = rows_.back();
    placed_.push_back({cell.Text, syllable, row.Width, width, cell.Red});
    row.Width += width;
  }
}

int THorizontalLayout::rowOf(int cell) const {
  const auto after =
      std::upper_bound(rows_.begin(), rows_.end(), cell, [](int c, const TRow& row) { return c < row.First; });
  return static_cast<int>(after - rows_.begin()) - 1;
}

int THorizontalLayout::rowEnd(int row) const {
  return row + 1 < RowCount() ? rows_[static_cast<std::size_t>(row) + 1].First : static_cast<int>(placed_.size());
}

qreal THorizontalLayout::indent(int row) const {
  const TRow& r = rows_[static_cast<std::size_t>(row)];
  return r.Centred ? (size_.width() - r.Width) / 2 : 0;
}

QRectF THorizontalLayout::cellBox(int cell, int row) const {
  const TPlaced& placed = placed_[static_cast<std::size_t>(cell)];
  const int em = fonts_->Em();
  return QRectF(indent(row) + placed.X, rows_[static_cast<std::size_t>(row)].Top + band_ + em / 4, placed.Width, em);
}

QRect THorizontalLayout::RowRect(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return QRect(0, rows_[static_cast<std::size_t>(row)].Top, size_.width(), pitch_);
}

QRect THorizontalLayout::CellRect(int line, int index) const {
  if (line < kTitle || line - kTitle >= static_cast<int>(lines_.size())) return {};
  const TLineCells& cells = lines_[static_cast<std::size_t>(line - kTitle)];
  if (index < 0 || index >= cells.Count) return {};
  return cellBox(cells.First + index, rowOf(cells.First + index)).toRect();
}

void THorizontalLayout::paint(QPainter& painter, const QPoint& origin, const QRect& clip) const {
  if (placed_.empty()) return;
  const int em = fonts_->Em();
  std::vector<int> shown;
  for (int r = 0; r < RowCount(); ++r)
    if (RowRect(r).translated(origin).intersects(clip)) shown.push_back(r);
  painter.save();
  painter.setFont(fonts_->Text());
  painter.setPen(kPoemInk);
  bool red = false;
  bool syllables = false;
  for (const int r : shown)
    for (int c = rows_[static_cast<std::size_t>(r)].First; c < rowEnd(r); ++c) {
      const TPlaced& cell = placed_[static_cast<std::size_t>(c)];
      if (cell.Red != red) {
        red = cell.Red;
        painter.setPen(red ? kPoemRed : kPoemInk);
      }
      const QRectF box = cellBox(c, r).translated(origin);
      fonts_->DrawGlyph(painter, QPointF(box.left() + (box.width() - em) / 2, box.top()), cell.Glyph);
      syllables = syllables || !cell.Syllable.isEmpty();
    }
  if (syllables) {
    painter.setFont(fonts_->Syllables());
    painter.setPen(kPoemInk);
    for (const int r : shown)
      for (int c = rows_[static_cast<std::size_t>(r)].First; c < rowEnd(r); ++c) {
        const TPlaced& cell = placed_[static_cast<std::size_t>(c)];
        if (cell.Syllable.isEmpty()) continue;
        const QRectF box = cellBox(c, r).translated(origin);
        fonts_->DrawSyllable(painter, QPointF(box.center().x(), box.top() - band_ / 2.0), cell.Syllable);
      }
  }
  painter.restore();
}
