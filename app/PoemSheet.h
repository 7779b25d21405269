#pragma once
// A poem as it is set for reading in columns, for paper and for a picture: every character a cell
// of its own, which may be red (the search word) and may carry its syllable.

#include <vector>

#include <QString>
#include <QStringList>

struct TPoemCell {
  QString Text;  // one character as a reader sees it: a surrogate pair or a base with its marks
  bool Red = false;
  QString Syllable;  // empty: none
};

struct TPoemSheet {
  std::vector<TPoemCell> Title, Author;  // shown first
  QString Dynasty, Source;               // "唐", "出处：全唐诗·卷一百六十五"; the source may be empty
  std::vector<std::vector<TPoemCell>> Lines;  // each starts a column of its own (a row, set across)
};

// What of a sheet is set besides the title, the author and the lines.
struct TSheetLook {
  bool Syllables = false;  // the cells' syllables, when they have any
  bool Dynasty = false;    // "〔唐〕" before the author
  bool Source = false;     // after the author, on its own
};

// The characters of `text`, none red and none with a syllable.
std::vector<TPoemCell> CellsOf(const QString& text);

// A sheet of plain text; callers mark cells red or give them syllables afterwards.
TPoemSheet SheetOf(const QString& title, const QString& author, const QString& dynasty, const QString& source,
                   const QStringList& lines);

// Whether any cell of the sheet carries a syllable.
bool HasSyllables(const TPoemSheet& sheet);
