// What the data grid does with the mouse, the wheel, the keyboard and the focus: moving its
// data set, selecting columns, and raising the cell-click and title-click events.

#include <QFocusEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "grid/DBGridEh.h"
#include "grid/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/forms/Dialogs.h"

int TCustomDBGridEh::columnAtGridCol(int gridCol) const {
  const int index = gridCol - IndicatorOffset();
  return index >= 0 && index < columns_.Count() ? index : -1;
}

TColumnEh* TCustomDBGridEh::columnAt(int x, int y) const {
  const TGridCoord cell = MouseCoord(x, y);
  const int index = columnAtGridCol(cell.X);
  return index < 0 ? nullptr : columns_[index];
}

bool TCustomDBGridEh::SelectCell(int col, int) { return columnAtGridCol(col) >= 0; }

void TCustomDBGridEh::selectColumn(int index) {
  if (columns_.Count() == 0) return;
  index = std::clamp(index, 0, columns_.Count() - 1);
  if (index == SelectedIndex()) return;
  if (OnColExit) {
    const int before = SelectedIndex();
    OnColExit();
    if (SelectedIndex() != before) return;
  }
  // A row-select grid keeps its current cell (and so its selected column) where it is.
  if (!(options_ & dgRowSelect)) MoveCurrent(index + IndicatorOffset(), Row());
  if (OnColEnter) OnColEnter();
}

void TCustomDBGridEh::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y, bool doubleClick) {
  if (!hasFocus() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  if (doubleClick) {
    if (button == Qt::LeftButton && OnDblClick) OnDblClick();
    return;
  }
  const TGridCoord cell = MouseCoord(x, y);
  if ((options_ & dgColumnResize) && button == Qt::LeftButton && SizingColumnAt(x, y) >= 0) {
    TCustomGrid::MouseDown(button, modifiers, x, y, false);
    return;
  }
  if (cell.Y >= 0 && cell.Y < DataRowOffset()) {
    // A right press on a title acts as a left one when columns can be sized and moved.
    const Qt::MouseButton acting = (button == Qt::RightButton && (options_ & dgColumnResize)) ? Qt::LeftButton : button;
    TCustomGrid::MouseDown(acting, modifiers, x, y, false);
    return;
  }
  if (cell.Y < DataRowOffset() || !link_->Active()) return;
  const int dataRows = std::max(1, link_->RecordCount());
  if (cell.Y >= DataRowOffset() + dataRows) return;
  if (cell.Y != Row() && link_->RecordCount() > 0) moveBy(cell.Y - Row());
  if (const int index = columnAtGridCol(cell.X); index >= 0) selectColumn(index);
}

void TCustomDBGridEh::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  const TGridState state = GridState();
  const bool cancelled = DragCancelled();
  TCustomGrid::MouseUp(button, modifiers, x, y);
  if (cancelled || state == gsColSizing || state == gsRowSizing) return;
  if (button != Qt::LeftButton && !(button == Qt::RightButton && state == gsColMoving)) return;
  TColumnEh* column = columnAt(x, y);
  if (!column) return;
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.Y < DataRowOffset()) {
    if (OnTitleClick) OnTitleClick(*column);
    return;
  }
  const int dataRows = std::max(1, link_->Active() ? link_->RecordCount() : 1);
  if (cell.Y < DataRowOffset() + dataRows && OnCellClick) OnCellClick(*column);
}

bool TCustomDBGridEh::DoMouseWheelDown(Qt::KeyboardModifiers) {
  if (link_->Active()) moveBy(1);
  return true;
}

bool TCustomDBGridEh::DoMouseWheelUp(Qt::KeyboardModifiers) {
  if (link_->Active()) moveBy(-1);
  return true;
}

bool TCustomDBGridEh::eventFilter(QObject* watched, QEvent* event) {
  // The wheel over the vertical scroll bar moves the records as over the cells, and the bar
  // follows them; left to the bar, only its thumb would move.
  if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
  }
  return TCustomGrid::eventFilter(watched, event);
}

void TCustomDBGridEh::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (OnKeyDown) OnKeyDown(key, modifiers);
  const bool ctrl = modifiers & Qt::ControlModifier;
  const bool shift = modifiers & Qt::ShiftModifier;
  if (key == Qt::Key_F && ctrl && !shift) {
    if (!(optionsEh_ & dghIncSearch) && (optionsEh_ & dghDialogFind) && DBGridEhShowFindDialogProc)
      DBGridEhShowFindDialogProc(*this, AnsiString(), AnsiString(), true);
    return;
  }
  if (key == Qt::Key_Escape) {
    CancelMode();
    return;
  }
  if (!link_->Active()) return;
  TDataSet* dataSet = DataSet();
  const int visible = std::max(1, VisibleDataRowCount());
  const bool rowSelect = options_ & dgRowSelect;
  switch (key) {
    case Qt::Key_Up:
      if (ctrl)
        moveBy(-link_->ActiveRecord());
      else
        moveBy(-1);
      break;
    case Qt::Key_Down:
      if (ctrl)
        moveBy(link_->BufferCount() - link_->ActiveRecord() - 1);
      else
        moveBy(1);
      break;
    case Qt::Key_PageUp:
      if (ctrl)
        moveBy(-link_->ActiveRecord());
      else
        moveBy(-visible);
      break;
    case Qt::Key_PageDown:
      if (ctrl)
        moveBy(link_->BufferCount() - link_->ActiveRecord() - 1);
      else
        moveBy(visible);
      break;
    case Qt::Key_Home:
      if (ctrl || rowSelect || visibleColumns_.Count() <= 1)
        dataSet->First();
      else
        selectColumn(0);
      break;
    case Qt::Key_End:
      if (ctrl || rowSelect || visibleColumns_.Count() <= 1)
        dataSet->Last();
      else
        selectColumn(columns_.Count() - 1);
      break;
    case Qt::Key_Left:
      if (rowSelect)
        SetLeftCol(LeftCol() - 1);
      else
        selectColumn(ctrl ? 0 : SelectedIndex() - 1);
      break;
    case Qt::Key_Right:
      if (rowSelect) {
        // Only while columns lie beyond the right edge: past that it would hide the first ones
        // with no scroll bar to bring them back.
        if (LeftCol() < LastLeftCol()) SetLeftCol(LeftCol() + 1);
      } else {
        selectColumn(ctrl ? columns_.Count() - 1 : SelectedIndex() + 1);
      }
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      if (!(options_ & dgTabs)) break;
      const bool back = key == Qt::Key_Backtab || shift;
      if (rowSelect) {
        // The current column never moves in a row-select grid; only the column events run.
        if (OnColExit) OnColExit();
        if (OnColEnter) OnColEnter();
        break;
      }
      const int index = SelectedIndex();
      if (!back && index >= columns_.Count() - 1) {
        moveBy(1);
        selectColumn(0);
      } else if (back && index <= 0) {
        moveBy(-1);
        selectColumn(columns_.Count() - 1);
      } else {
        selectColumn(index + (back ? -1 : 1));
      }
      break;
    }
    case Qt::Key_Delete:
      if (ctrl && dataSet->CanModify() && !readOnly_ && (AllowedOperations & alopDeleteEh)) {
        if ((options_ & dgConfirmDelete) && MessageDlg("Delete record?", TMsgDlgType::mtConfirmation, mbOK | mbCancel) != mrOk)
          break;
        dataSet->Delete();
      }
      break;
    default: break;
  }
}

void TCustomDBGridEh::focusInEvent(QFocusEvent* event) {
  TCustomGrid::focusInEvent(event);
  InvalidateGrid();
}

void TCustomDBGridEh::focusOutEvent(QFocusEvent* event) {
  TCustomGrid::focusOutEvent(event);
  InvalidateGrid();
}
