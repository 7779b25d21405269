#include "platform/grids/Grids.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  colWidths_.assign(5, defaultColWidth_);
  rowHeights_.assign(5, defaultRowHeight_);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
  horizontalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setPageStep(1);
}

void TCustomGrid::SetColCount(int count) {
  count = std::max(count, 1);
  if (count == ColCount()) return;
  colWidths_.resize(static_cast<std::size_t>(count), defaultColWidth_);
  fixedCols_ = std::min(fixedCols_, count);
  if (current_.X >= count) current_.X = count - 1;
  clampTopLeft();
  UpdateHorzScrollBar();
  InvalidateGrid();
}

void TCustomGrid::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count == RowCount()) return;
  rowHeights_.resize(static_cast<std::size_t>(count), defaultRowHeight_);
  if (current_.Y >= count) current_.Y = count - 1;
  clampTopLeft();
  InvalidateGrid();
}

void TCustomGrid::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, ColCount());
  if (current_.X < fixedCols_) current_.X = std::min(fixedCols_, ColCount() - 1);
  clampTopLeft();
  UpdateHorzScrollBar();
  InvalidateGrid();
}

void TCustomGrid::SetFixedRows(int count) {
  fixedRows_ = std::clamp(count, 0, RowCount());
  if (current_.Y < fixedRows_) current_.Y = std::min(fixedRows_, RowCount() - 1);
  clampTopLeft();
  InvalidateGrid();
}

void TCustomGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = width;
  std::fill(colWidths_.begin(), colWidths_.end(), width);
  UpdateHorzScrollBar();
  InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = height;
  std::fill(rowHeights_.begin(), rowHeights_.end(), height);
  InvalidateGrid();
}

void TCustomGrid::SetGridLineWidth(int width) {
  gridLineWidth_ = std::max(0, width);
  UpdateHorzScrollBar();
  InvalidateGrid();
}

void TCustomGrid::SetColWidths(int col, int width) {
  int& stored = colWidths_.at(static_cast<std::size_t>(col));
  if (stored == width) return;
  stored = width;
  UpdateHorzScrollBar();
  InvalidateGrid();
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  int& stored = rowHeights_.at(static_cast<std::size_t>(row));
  if (stored == height) return;
  stored = height;
  InvalidateGrid();
  RowHeightsChanged();
}

void TCustomGrid::SetOptions(unsigned options) {
  if (options & goRowSelect) options &= ~(goEditing | goAlwaysShowEditor);
  if (options == options_) return;
  options_ = options;
  UpdateHorzScrollBar();
  InvalidateGrid();
}

void TCustomGrid::SetColor(TColor color) {
  color_ = color;
  InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor color) {
  fixedColor_ = color;
  InvalidateGrid();
}

void TCustomGrid::SetLeftCol(int col) {
  const TGridCoord old = topLeft_;
  topLeft_.X = col;
  clampTopLeft();
  if (topLeft_ == old) return;
  UpdateHorzScrollBar();
  InvalidateGrid();
  TopLeftChanged();
}

void TCustomGrid::SetTopRow(int row) {
  const TGridCoord old = topLeft_;
  topLeft_.Y = row;
  clampTopLeft();
  if (topLeft_ == old) return;
  InvalidateGrid();
  TopLeftChanged();
}

void TCustomGrid::clampTopLeft() {
  topLeft_.X = std::clamp(topLeft_.X, std::min(fixedCols_, ColCount() - 1), ColCount() - 1);
  topLeft_.Y = std::clamp(topLeft_.Y, std::min(fixedRows_, RowCount() - 1), RowCount() - 1);
}

int TCustomGrid::fixedWidth() const {
  int width = 0;
  for (int c = 0; c < fixedCols_; ++c) width += colExtent(c);
  return width;
}

int TCustomGrid::fixedHeight() const {
  int height = 0;
  for (int r = 0; r < fixedRows_; ++r) height += rowExtent(r);
  return height;
}

int TCustomGrid::colLeft(int col) const {
  if (col < fixedCols_) {
    int x = 0;
    for (int c = 0; c < col; ++c) x += colExtent(c);
    return x;
  }
  if (col < topLeft_.X) return -1 << 20;
  int x = fixedWidth();
  for (int c = topLeft_.X; c < col; ++c) x += colExtent(c);
  return x;
}

int TCustomGrid::rowTop(int row) const {
  if (row < fixedRows_) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += rowExtent(r);
    return y;
  }
  if (row < topLeft_.Y) return -1 << 20;
  int y = fixedHeight();
  for (int r = topLeft_.Y; r < row; ++r) y += rowExtent(r);
  return y;
}

QRect TCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return {};
  const int x = colLeft(col), y = rowTop(row);
  const int w = colWidths_[static_cast<std::size_t>(col)], h = rowHeights_[static_cast<std::size_t>(row)];
  if (w <= 0 || h <= 0) return {};
  const QRect rect(x, y, w, h);
  return rect.intersects(viewport()->rect()) ? rect : QRect();
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord cell;
  auto find = [](int pos, int fixed, int first, int count, auto extent) {
    int edge = 0;
    for (int i = 0; i < fixed; ++i) {
      edge += extent(i);
      if (pos < edge) return i;
    }
    for (int i = first; i < count; ++i) {
      edge += extent(i);
      if (pos < edge) return i;
    }
    return -1;
  };
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return cell;
  cell.X = find(x, fixedCols_, topLeft_.X, ColCount(), [this](int c) { return colExtent(c); });
  cell.Y = find(y, fixedRows_, topLeft_.Y, RowCount(), [this](int r) { return rowExtent(r); });
  if (cell.X < 0 || cell.Y < 0) return TGridCoord{};
  return cell;
}

int TCustomGrid::VisibleColCount() const {
  int x = fixedWidth(), count = 0;
  for (int c = topLeft_.X; c < ColCount(); ++c) {
    x += colExtent(c);
    if (x > viewport()->width()) break;
    ++count;
  }
  return std::max(1, count);
}

int TCustomGrid::VisibleRowCount() const {
  int y = fixedHeight(), count = 0;
  for (int r = topLeft_.Y; r < RowCount(); ++r) {
    y += rowExtent(r);
    if (y > viewport()->height()) break;
    ++count;
  }
  return std::max(1, count);
}

void TCustomGrid::InvalidateCell(int col, int row) {
  const QRect rect = CellRect(col, row);
  if (!rect.isEmpty()) viewport()->update(rect.adjusted(0, 0, gridLineWidth_, gridLineWidth_));
}

void TCustomGrid::InvalidateRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  const int y = rowTop(row);
  viewport()->update(QRect(0, y, viewport()->width(), rowHeights_[static_cast<std::size_t>(row)] + gridLineWidth_));
}

void TCustomGrid::Paint(TCanvas& canvas) {
  const QRect view = viewport()->rect();
  std::vector<int> cols, rows;
  for (int c = 0; c < fixedCols_; ++c) cols.push_back(c);
  for (int c = topLeft_.X; c < ColCount() && colLeft(c) < view.width(); ++c) cols.push_back(c);
  for (int r = 0; r < fixedRows_; ++r) rows.push_back(r);
  for (int r = topLeft_.Y; r < RowCount() && rowTop(r) < view.height(); ++r) rows.push_back(r);

  int right = 0, bottom = 0;
  for (int r : rows) {
    for (int c : cols) {
      const bool fixed = r < fixedRows_ || c < fixedCols_;
      const QRect rect(colLeft(c), rowTop(r), colWidths_[static_cast<std::size_t>(c)],
                       rowHeights_[static_cast<std::size_t>(r)]);
      right = std::max(right, rect.left() + colExtent(c));
      bottom = std::max(bottom, rect.top() + rowExtent(r));
      if (rect.width() <= 0 || rect.height() <= 0) continue;
      unsigned state = fixed ? unsigned{gdFixed} : 0u;
      const bool current = r == current_.Y && (c == current_.X || (options_ & goRowSelect));
      if (!fixed && current) state |= gdSelected | (hasFocus() ? unsigned{gdFocused} : 0u);
      canvas.BrushColor = fixed ? fixedColor_ : color_;
      DrawCell(c, r, rect, state);
      // The line space right of and below the cell: a line, or the cell's background.
      const bool vertLine = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
      const bool horzLine = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
      const TColor background = fixed ? fixedColor_ : color_;
      if (VertLineWidth() > 0) {
        canvas.BrushColor = vertLine ? LineColor(fixed) : background;
        canvas.FillRect(QRect(rect.right() + 1, rect.top(), VertLineWidth(), rect.height() + HorzLineWidth()));
      }
      if (HorzLineWidth() > 0) {
        canvas.BrushColor = horzLine ? LineColor(fixed) : background;
        canvas.FillRect(QRect(rect.left(), rect.bottom() + 1, rect.width() + VertLineWidth(), HorzLineWidth()));
      }
    }
  }
  canvas.BrushColor = color_;
  canvas.FillRect(QRect(right, 0, view.width() - right, view.height()));
  canvas.FillRect(QRect(0, bottom, right, view.height() - bottom));
  if (state_ == gsColMoving && movePos_ >= 0 && movePos_ != moveIndex_) {
    // Where the column would go: a bar at the target's border.
    const int x = movePos_ > moveIndex_ ? colLeft(movePos_) + colExtent(movePos_) - 1 : colLeft(movePos_);
    canvas.BrushColor = clBlack;
    canvas.FillRect(QRect(x - 1, 0, 3, fixedHeight()));
  }
}

TCanvas& TCustomGrid::Canvas() {
  if (paintCanvas_) return *paintCanvas_;
  measureCanvas_.Font = font();
  return measureCanvas_;
}

void TCustomGrid::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  TCanvas canvas(&painter);
  canvas.Font = font();
  paintCanvas_ = &canvas;
  try {
    Paint(canvas);
  } catch (...) {
    paintCanvas_ = nullptr;
    throw;
  }
  paintCanvas_ = nullptr;
}

void TCustomGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateHorzScrollBar();
  SizeChanged();
}

int TCustomGrid::SizingColumnAt(int x, int y) const {
  if (!(options_ & goColSizing)) return -1;
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.Y < 0 || cell.Y >= fixedRows_) return -1;
  const int line = gridLineWidth_;
  const int a = line > 6 ? 0 : (7 - line) / 2;
  const int zone = line > 6 ? line : 7;
  for (int c = 0; c < ColCount(); ++c) {
    if (c >= fixedCols_ && c < topLeft_.X) continue;
    if (colWidths_[static_cast<std::size_t>(c)] < 0) continue;
    const int border = colLeft(c) + colWidths_[static_cast<std::size_t>(c)];
    if (border > viewport()->width() + zone) break;
    if (x >= border - a && x < border - a + zone) return c;
  }
  return -1;
}

void TCustomGrid::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y, bool doubleClick) {
  if (button != Qt::LeftButton || doubleClick) return;
  dragCancelled_ = false;
  if (const int col = SizingColumnAt(x, y); col >= 0) {
    state_ = gsColSizing;
    sizingIndex_ = col;
    sizingOrigin_ = colLeft(col);
    sizingWidth_ = colWidths_[static_cast<std::size_t>(col)];
    return;
  }
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.X < 0) return;
  if (cell.Y < fixedRows_ && cell.X >= fixedCols_ && (options_ & goColMoving)) {
    state_ = gsColMoving;
    moveIndex_ = movePos_ = cell.X;
    return;
  }
  if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) FocusCell(cell.X, cell.Y);
}

void TCustomGrid::MouseMove(Qt::MouseButtons, int x, int y) {
  switch (state_) {
    case gsColSizing: {
      const int width = std::max(0, x - sizingOrigin_);
      if (width != colWidths_[static_cast<std::size_t>(sizingIndex_)]) {
        colWidths_[static_cast<std::size_t>(sizingIndex_)] = width;
        InvalidateGrid();
      }
      break;
    }
    case gsColMoving: {
      const TGridCoord cell = MouseCoord(x, std::min(y, std::max(0, fixedHeight() - 1)));
      if (cell.X >= fixedCols_ && cell.X != movePos_) {
        movePos_ = cell.X;
        InvalidateGrid();
      }
      break;
    }
    default:
      viewport()->setCursor(SizingColumnAt(x, y) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
      break;
  }
}

void TCustomGrid::MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
  dragCancelled_ = false;
  const TGridState finished = state_;
  if (finished == gsColSizing) {
    UpdateHorzScrollBar();
    ColWidthsChanged();  // still in the sizing state, so that the subclass knows who sized
  }
  state_ = gsNormal;
  if (finished == gsColMoving && movePos_ >= 0 && movePos_ != moveIndex_) MoveColumn(moveIndex_, movePos_);
  moveIndex_ = movePos_ = sizingIndex_ = -1;
  InvalidateGrid();
}

void TCustomGrid::CancelMode() {
  if (state_ == gsColSizing && sizingIndex_ >= 0 && sizingIndex_ < ColCount()) {
    colWidths_[static_cast<std::size_t>(sizingIndex_)] = sizingWidth_;
    UpdateHorzScrollBar();
  }
  if (state_ == gsColSizing || state_ == gsColMoving) dragCancelled_ = true;
  state_ = gsNormal;
  moveIndex_ = movePos_ = sizingIndex_ = -1;
  InvalidateGrid();
}

void TCustomGrid::MoveColumn(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= ColCount() || to >= ColCount()) return;
  const int width = colWidths_[static_cast<std::size_t>(from)];
  colWidths_.erase(colWidths_.begin() + from);
  colWidths_.insert(colWidths_.begin() + to, width);
  if (current_.X == from) current_.X = to;
  InvalidateGrid();
  ColumnMoved(from, to);
}

void TCustomGrid::KeyDown(int key, Qt::KeyboardModifiers) {
  switch (key) {
    case Qt::Key_Up: FocusCell(current_.X, current_.Y - 1); break;
    case Qt::Key_Down: FocusCell(current_.X, current_.Y + 1); break;
    case Qt::Key_Left: FocusCell(current_.X - 1, current_.Y); break;
    case Qt::Key_Right: FocusCell(current_.X + 1, current_.Y); break;
    default: break;
  }
}

void TCustomGrid::FocusCell(int col, int row) {
  col = std::clamp(col, fixedCols_, ColCount() - 1);
  row = std::clamp(row, fixedRows_, RowCount() - 1);
  if (col < 0 || row < 0 || (TGridCoord{col, row} == current_)) return;
  if (!SelectCell(col, row)) return;
  MoveCurrent(col, row);
}

void TCustomGrid::MoveCurrent(int col, int row) {
  col = std::clamp(col, 0, ColCount() - 1);
  row = std::clamp(row, 0, RowCount() - 1);
  if (TGridCoord{col, row} == current_) return;
  const TGridCoord old = current_;
  current_ = {col, row};
  if (options_ & goRowSelect) {
    InvalidateRow(old.Y);
    InvalidateRow(row);
  } else {
    InvalidateCell(old.X, old.Y);
    InvalidateCell(col, row);
  }
  scrollCurrentIntoView();
}

void TCustomGrid::scrollCurrentIntoView() {
  if (current_.Y < topLeft_.Y) {
    SetTopRow(current_.Y);
  } else {
    while (current_.Y >= topLeft_.Y + VisibleRowCount() && topLeft_.Y < current_.Y) SetTopRow(topLeft_.Y + 1);
  }
  if (options_ & goRowSelect) return;
  if (current_.X < topLeft_.X) {
    SetLeftCol(current_.X);
  } else {
    while (current_.X >= topLeft_.X + VisibleColCount() && topLeft_.X < current_.X) SetLeftCol(topLeft_.X + 1);
  }
}

int TCustomGrid::LastLeftCol() const {
  int lastLeft = ColCount() - 1, used = fixedWidth();
  for (int c = ColCount() - 1; c >= fixedCols_; --c) {
    used += colExtent(c);
    if (used > viewport()->width()) break;
    lastLeft = c;
  }
  return std::max(lastLeft, std::min(fixedCols_, ColCount() - 1));
}

void TCustomGrid::UpdateHorzScrollBar() {
  const int lastLeft = LastLeftCol();
  syncingScrollBar_ = true;
  horizontalScrollBar()->setRange(0, std::max(0, lastLeft - fixedCols_));
  horizontalScrollBar()->setValue(topLeft_.X - fixedCols_);
  syncingScrollBar_ = false;
}

void TCustomGrid::scrollContentsBy(int dx, int) {
  if (syncingScrollBar_ || dx == 0) return;
  SetLeftCol(fixedCols_ + horizontalScrollBar()->value());
}

void TCustomGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseDown(event->button(), event->modifiers(), at.x(), at.y(), false);
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseDown(event->button(), event->modifiers(), at.x(), at.y(), true);
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseMove(event->buttons(), at.x(), at.y());
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  MouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void TCustomGrid::keyPressEvent(QKeyEvent* event) { KeyDown(event->key(), event->modifiers()); }

void TCustomGrid::wheelEvent(QWheelEvent* event) {
  // However far one event says the wheel turned, it moves at most a page of rows.
  const int notches = wheelNotches_.Add(event->angleDelta().y(), std::max(1, RowCount()));
  for (int i = 0; i < -notches; ++i) DoMouseWheelDown(event->modifiers());
  for (int i = 0; i < notches; ++i) DoMouseWheelUp(event->modifiers());
  event->accept();
}

bool TCustomGrid::event(QEvent* event) {
  // With tabbing on, Tab and Shift+Tab belong to the grid instead of moving the focus on.
  if (event->type() == QEvent::KeyPress && (options_ & goTabs)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && !(key->modifiers() & Qt::AltModifier)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}
