#pragma once
// A sheet set in columns read from right to left, as printed books are: the title (a column or
// more), the author, the source in a column of its own when wanted, then each line of the poem starting a column of its
// own and running on into the next column to the left when it is longer than a column. With
// syllables, each character's syllable stands to its right in a smaller font, read top to bottom.
//
// The geometry has its origin at the top left of the whole; paint() draws what falls in a clip.

#include <memory>
#include <vector>

#include <QRect>
#include <QSize>
#include <QString>

#include "app/PoemSheet.h"
#include "app/VerticalForms.h"

class QFont;
class QPainter;
class QPoint;
class TPoemFonts;

class TVerticalLayout {
 public:
  // The lines CellRect() takes besides the poem's own, numbered from 0.
  static constexpr int kTitle = -2;
  static constexpr int kAuthor = -1;

  TVerticalLayout() = default;
  // Columns of at most `columnHeight` pixels (at least one character).
  TVerticalLayout(const TPoemSheet& sheet, std::shared_ptr<const TPoemFonts> fonts, int columnHeight, TSheetLook look);
  TVerticalLayout(const TPoemSheet& sheet, const QFont& font, int columnHeight, TSheetLook look);

  QSize Size() const { return size_; }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // Column 0 is read first, at the right; its syllables included.
  QRect ColumnRect(int column) const;
  // From one character's square to the next one's below it.
  int RowPitch() const { return pitch_; }
  // The square of the `index`th character of `line` (kTitle, kAuthor or a line of the poem);
  // empty when there is none.
  QRect CellRect(int line, int index) const;

  // Draws every column that meets `clip`, the layout's top left at `origin` (painter's coordinates).
  void paint(QPainter& painter, const QPoint& origin, const QRect& clip) const;

 private:
  struct TPlaced {
    QString Glyph;
    QString Syllable;
    int Row;
    TStance Stance;
    bool Red;
  };
  struct TColumn {
    int First;      // its first cell in placed_
    int FromRight;  // from the layout's right edge to the column's right edge
  };

  void place(const std::vector<TPoemCell>& cells, int line, int rows, bool syllables);
  void newColumn(int gap);
  int columnOf(int cell) const;
  int columnLeft(int column) const;
  QRect cellRect(int cell, int column) const;
  void paintGlyph(QPainter& painter, const QPoint& at, const TPlaced& cell) const;
  // Calls `visit` with each cell that meets `clip` and its square in the painter's coordinates.
  template <typename Visit>
  void forVisible(const QPoint& origin, const QRect& clip, Visit&& visit) const;

  std::shared_ptr<const TPoemFonts> fonts_;
  std::vector<TPlaced> placed_;
  std::vector<TColumn> columns_;
  struct TLineCells {
    int First = 0;
    int Count = 0;
  };
  std::vector<TLineCells> lines_;  // kTitle, kAuthor, then the poem's lines
  QSize size_;
  int pitch_ = 0;
  int columnWidth_ = 0;
  int columnGap_ = 0;
  int row_ = 0;
};
