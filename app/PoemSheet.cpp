#include "app/PoemSheet.h"

#include <QTextBoundaryFinder>

std::vector<TPoemCell> CellsOf(const QString& text) {
  std::vector<TPoemCell> cells;
  cells.reserve(static_cast<std::size_t>(text.size()));
  QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
  qsizetype from = 0;
  while (graphemes.toNextBoundary() != -1) {
    const qsizetype to = graphemes.position();
    cells.push_back({text.mid(from, to - from), false, QString()});
    from = to;
  }
  return cells;
}

TPoemSheet SheetOf(const QString& title, const QString& author, const QString& dynasty, const QString& source,
                   const QStringList& lines) {
  TPoemSheet sheet{CellsOf(title), CellsOf(author), dynasty, source, {}};
  sheet.Lines.reserve(static_cast<std::size_t>(lines.size()));
  for (const QString& line : lines) sheet.Lines.push_back(CellsOf(line));
  return sheet;
}

bool HasSyllables(const TPoemSheet& sheet) {
  const auto any = [](const std::vector<TPoemCell>& cells) {
    for (const TPoemCell& cell : cells)
      if (!cell.Syllable.isEmpty()) return true;
    return false;
  };
  if (any(sheet.Title) || any(sheet.Author)) return true;
  for (const auto& line : sheet.Lines)
    if (any(line)) return true;
  return false;
}
