#pragma once
// A sheet set in rows for paper and pictures: the title, the author and the source each on a
// row of their own and centred, then the poem's lines from the left, each starting a row and
// running on into the next when it is longer than a row. A mark that closes a phrase (，。」…)
// never starts a row: it hangs at the end of the row before. With syllables, each character's
// syllable stands centred above it, and the character gets the room its syllable needs.
//
// The geometry has its origin at the top left of the whole; paint() draws what falls in a clip.

#include <memory>
#include <vector>

#include <QRect>
#include <QSize>
#include <QString>

#include "app/PoemSheet.h"

class QFont;
class QPainter;
class QPoint;
class TPoemFonts;

class THorizontalLayout {
 public:
  // The lines CellRect() takes besides the poem's own, numbered from 0.
  static constexpr int kTitle = -2;
  static constexpr int kAuthor = -1;

  // Rows of at most `rowWidth` pixels (at least one character).
  THorizontalLayout(const TPoemSheet& sheet, std::shared_ptr<const TPoemFonts> fonts, int rowWidth, TSheetLook look);
  THorizontalLayout(const TPoemSheet& sheet, const QFont& font, int rowWidth, TSheetLook look);

  QSize Size() const { return size_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Across the whole width, its syllables included.
  QRect RowRect(int row) const;
  // The box of the `index`th character of `line` (kTitle, kAuthor or a line of the poem); empty
  // when there is none.
  QRect CellRect(int line, int index) const;

  // Draws every row that meets `clip`, the layout's top left at `origin` (painter's coordinates).
  void paint(QPainter& painter, const QPoint& origin, const QRect& clip) const;

 private:
  struct TPlaced {
    QString Glyph;
    QString Syllable;
    qreal X;
    qreal Width;
    bool Red;
  };
  struct TRow {
    int First;  // its first cell in placed_
    int Top;
    qreal Width = 0;
    bool Centred;
  };
  struct TLineCells {
    int First = 0;
    int Count = 0;
  };

  void place(const std::vector<TPoemCell>& cells, int line, bool centred, bool syllables);
  void newRow(bool centred, int gap);
  int rowOf(int cell) const;
  int rowEnd(int row) const;
  qreal indent(int row) const;
  QRectF cellBox(int cell, int row) const;

  std::shared_ptr<const TPoemFonts> fonts_;
  std::vector<TPlaced> placed_;
  std::vector<TRow> rows_;
  std::vector<TLineCells> lines_;  // kTitle, kAuthor, then the poem's lines
  QSize size_;
  int rowWidth_;
  int pitch_ = 0;
  int band_ = 0;  // the syllables' room above the characters
};
