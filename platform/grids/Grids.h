#pragma once
// The generic grid: rows and columns of cells with their sizes, fixed rows and columns at
// the top and left, a top-left cell that scrolls, a current cell, grid lines, the horizontal
// scroll bar, and sizing and moving columns by the mouse in the fixed rows. What a cell shows
// is the subclass's DrawCell; the subclass may take over the vertical scroll bar.
//
// Coordinates are the viewport's. A column's extent is its width plus the vertical line
// width, so a column of width -1 with lines vanishes together with its line.

#include <QAbstractScrollArea>

#include <algorithm>
#include <vector>

#include "platform/forms/WheelNotches.h"
#include "platform/graphics/Graphics.h"

enum TGridOption : unsigned {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawState : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };

struct TGridCoord {
  int X = -1;
  int Y = -1;
  bool operator==(const TGridCoord&) const = default;
};

class TCustomGrid : public QAbstractScrollArea {
 public:
  explicit TCustomGrid(QWidget* parent = nullptr);

  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  void SetColCount(int count);
  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  void SetRowCount(int count);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);

  int DefaultColWidth() const { return defaultColWidth_; }
  // Gives every column this width.
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  // Gives every row this height.
  void SetDefaultRowHeight(int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);
  int ColWidths(int col) const { return colWidths_.at(static_cast<std::size_t>(col)); }
  void SetColWidths(int col, int width);
  int RowHeights(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
  void SetRowHeights(int row, int height);

  unsigned Options() const { return options_; }
  void SetOptions(unsigned options);
  TGridState GridState() const { return state_; }

  int Col() const { return current_.X; }
  int Row() const { return current_.Y; }
  void SetCol(int col) { FocusCell(col, current_.Y); }
  void SetRow(int row) { FocusCell(current_.X, row); }
  int LeftCol() const { return topLeft_.X; }
  void SetLeftCol(int col);
  // The leftmost column from which every column to the right still fits the view: scrolling
  // further right would only hide columns.
  int LastLeftCol() const;
  int TopRow() const { return topLeft_.Y; }
  void SetTopRow(int row);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor color);

  // The cell's rectangle; empty when no part of it is in view.
  QRect CellRect(int col, int row) const;
  // The cell under a viewport point; (-1, -1) outside every cell.
  TGridCoord MouseCoord(int x, int y) const;
  // Non-fixed columns and rows wholly in view (at least 1).
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // Vertical (column) and horizontal (row) line widths in effect.
  int VertLineWidth() const { return (options_ & goVertLine) ? gridLineWidth_ : 0; }
  int HorzLineWidth() const { return (options_ & goHorzLine) ? gridLineWidth_ : 0; }

  // The canvas being painted on, or one that only measures (in the grid's font) between paints.
  TCanvas& Canvas();

  // Repaints one cell, a row, or everything.
  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);
  void InvalidateGrid() { viewport()->update(); }

 protected:
  virtual void DrawCell(int col, int row, const QRect& rect, unsigned state) = 0;
  // Draws every cell in view, then the lines, then fills what lies beyond the last cells.
  virtual void Paint(TCanvas& canvas);
  // Lines between fixed cells and between the other cells.
  virtual TColor LineColor(bool fixed) const { return fixed ? clBlack : clSilver; }
  // Whether the current cell may move there.
  virtual bool SelectCell(int, int) { return true; }
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  virtual void ColumnMoved(int, int) {}
  virtual void TopLeftChanged() {}
  // The border under x in a fixed row that a press would size, or -1.
  int SizingColumnAt(int x, int y) const;

  // Input, already turned into grid terms; the defaults size and move columns and move the
  // current cell.
  virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y, bool doubleClick);
  virtual void MouseMove(Qt::MouseButtons buttons, int x, int y);
  virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
  virtual void KeyDown(int key, Qt::KeyboardModifiers modifiers);
  virtual bool DoMouseWheelDown(Qt::KeyboardModifiers) { return false; }
  virtual bool DoMouseWheelUp(Qt::KeyboardModifiers) { return false; }
  // The view changed size.
  virtual void SizeChanged() {}
  // Ends a sizing or moving in progress without applying it: a sized column gets its width
  // back, and the release of the button that started it counts for nothing.
  void CancelMode();
  // Whether the button now held started a sizing or moving that was cancelled.
  bool DragCancelled() const { return dragCancelled_; }

  // Moves the current cell when SelectCell agrees, scrolling it into view.
  void FocusCell(int col, int row);
  // Moves the current cell without asking SelectCell.
  void MoveCurrent(int col, int row);
  void MoveColumn(int from, int to);
  void UpdateHorzScrollBar();

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* event) override;

 private:
  int colLeft(int col) const;  // viewport x of the column, or a value beyond the view
  int rowTop(int row) const;
  int colExtent(int col) const { return std::max(0, colWidths_[static_cast<std::size_t>(col)] + VertLineWidth()); }
  int rowExtent(int row) const { return std::max(0, rowHeights_[static_cast<std::size_t>(row)] + HorzLineWidth()); }
  int fixedWidth() const;
  int fixedHeight() const;
  void clampTopLeft();
  void scrollCurrentIntoView();

  TCanvas* paintCanvas_ = nullptr;
  TCanvas measureCanvas_;
  std::vector<int> colWidths_, rowHeights_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  int gridLineWidth_ = 1;
  unsigned options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TGridState state_ = gsNormal;
  TGridCoord current_{1, 1};
  TGridCoord topLeft_{1, 1};
  TColor color_ = clWindow;
  TColor fixedColor_ = clBtnFace;
  int sizingIndex_ = -1;
  int sizingOrigin_ = 0;
  int sizingWidth_ = 0;  // the width before the sizing, for a cancel
  bool dragCancelled_ = false;
  int moveIndex_ = -1;
  int movePos_ = -1;
  bool syncingScrollBar_ = false;
  TWheelNotches wheelNotches_;
};
