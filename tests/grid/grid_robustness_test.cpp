// Thousands of random steps through a grid over a real query: keys, clicks, drags, the wheel,
// the scroll bar, Ctrl+F, resizing, and the query closed and re-opened with other columns or
// an empty result. After every step the grid, its data set and its accessible table agree.
// The seed is fixed, so a failure repeats; GRID_RANDOM_SEED picks another.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <cstdlib>
#include <random>
#include <sstream>

#include "grid/DBGridEhFindDlgs.h"
#include "platform/db/DataSet.h"
#include "platform/forms/Dialogs.h"
#include "platform/text/AnsiText.h"
#include "tests/grid/grid_fixture.h"

namespace {

const char* const kStatements[] = {
    "select id, tm from t",
    "select tm as 作品, id from t where id <= 40",
    "select id, tm, id * 10 as n from t where id % 3 = 0",
    "select tm from t where id < 4",
    "select id, tm from t where id > 1000",
};

const int kKeys[] = {Qt::Key_Up,   Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,   Qt::Key_End,
                     Qt::Key_Left, Qt::Key_Right, Qt::Key_Tab,   Qt::Key_Backtab,  Qt::Key_Escape, Qt::Key_Return};

const int kWheelDeltas[] = {-240, -120, -15, 15, 120, 360, -7, 1200};

class GridRandomTest : public GridTest {
 protected:
  GridRandomTest() {
    previous = SetMessageBoxPresenter([](const TMessageBoxRequest&) { return mrOk; });
    if (const char* seed = std::getenv("GRID_RANDOM_SEED")) random.seed(std::strtoul(seed, nullptr, 10));
  }
  ~GridRandomTest() override {
    DBGridEhFindDlg().hide();
    SetMessageBoxPresenter(std::move(previous));
  }

  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
  QPoint anywhere() {
    const QSize size = grid->viewport()->size();
    return {pick(size.width() + 20) - 10, pick(size.height() + 20) - 10};
  }

  void step(std::ostringstream& log);
  // Empty when the grid, the data set and the accessible table agree; else what differs.
  std::string disagreement();

  std::mt19937 random{20261210};
  TMessageBoxPresenter previous;
};

void GridRandomTest::step(std::ostringstream& log) {
  const int choice = pick(100);
  if (choice < 35) {
    const int k = kKeys[pick(std::size(kKeys))];
    const Qt::KeyboardModifiers modifiers = pick(3) == 0 ? Qt::ControlModifier : Qt::NoModifier;
    log << "key " << k << (modifiers ? "+ctrl" : "");
    key(k, modifiers);
  } else if (choice < 50) {
    const QPoint at = anywhere();
    log << "click " << at.x() << "," << at.y();
    click(at, pick(4) == 0 ? Qt::RightButton : Qt::LeftButton);
  } else if (choice < 58) {
    const QPoint from = anywhere(), to = anywhere();
    const bool escape = pick(3) == 0;
    log << "drag " << from.x() << "," << from.y() << " to " << to.x() << "," << to.y() << (escape ? " esc" : "");
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(grid->viewport(), to);
    if (escape) QTest::keyClick(grid, Qt::Key_Escape);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, to);
  } else if (choice < 72) {
    const int delta = kWheelDeltas[pick(std::size(kWheelDeltas))];
    const bool overBar = pick(3) == 0;
    log << "wheel " << delta << (overBar ? " over the bar" : "");
    QWidget* target = overBar ? static_cast<QWidget*>(grid->verticalScrollBar()) : grid->viewport();
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
  } else if (choice < 78) {
    const auto action = static_cast<QAbstractSlider::SliderAction>(1 + pick(6));
    log << "scroll bar action " << action;
    grid->verticalScrollBar()->triggerAction(action);
  } else if (choice < 82) {
    // Ctrl+F opens the modal dialog; a search or two runs inside it before it closes.
    const int searches = pick(3);
    const std::string text = pick(2) ? "诗1" : "5";
    log << "ctrl+f " << searches << " x " << text;
    QTimer::singleShot(0, [searches, text] {
      TDBGridEhFindDlg& dialog = DBGridEhFindDlg();
      dialog.cbText->setEditText(QString::fromStdString(text));
      for (int i = 0; i < searches; ++i) dialog.FindNext();
      dialog.bCancel->click();
    });
    key(Qt::Key_F, Qt::ControlModifier);
  } else if (choice < 90) {
    const int index = pick(std::size(kStatements));
    log << "open " << kStatements[index];
    open(text::utf8ToAnsi(kStatements[index]));
  } else if (choice < 94) {
    log << "close";
    query.Close();
  } else if (choice < 97) {
    const QSize size(150 + pick(300), 120 + pick(400));
    log << "resize " << size.width() << "x" << size.height();
    window->resize(size);
  } else {
    log << "focus " << (grid->hasFocus() ? "away" : "back");
    if (grid->hasFocus())
      other->setFocus();
    else
      grid->setFocus();
  }
  QApplication::processEvents();
}

std::string GridRandomTest::disagreement() {
  std::ostringstream out;
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(grid);
  QAccessibleTableInterface* table = face ? face->tableInterface() : nullptr;
  if (!table) return "no accessible table";
  const TGridDataLinkEh& link = grid->DataLink();
  const int records = query.Active() ? query.RecordCount() : 0;
  const bool rows = records > 0;
  if (table->rowCount() != records) out << "accessible rows " << table->rowCount() << " for " << records << " records; ";
  int columns = 0;
  for (int i = 0; i < grid->Columns().Count(); ++i)
    columns += grid->Columns()[i]->Visible() && grid->ColWidths(i + grid->IndicatorOffset()) > 0;
  if (table->columnCount() != columns) out << "accessible columns " << table->columnCount() << " for " << columns << "; ";
  if (!rows) {
    if (grid->RowCount() != 2) out << "grid rows " << grid->RowCount() << " without records; ";
    if (!table->selectedRows().isEmpty()) out << "a selected row without records; ";
    return out.str();
  }
  if (query.RecNo() < 1 || query.RecNo() > records) out << "record number " << query.RecNo() << "; ";
  if (grid->RowCount() != link.RecordCount() + 1)
    out << "grid rows " << grid->RowCount() << " for " << link.RecordCount() << " buffered; ";
  if (grid->Row() != link.ActiveRecord() + 1) out << "current row " << grid->Row() << " for " << link.ActiveRecord() << "; ";
  if (table->selectedRows() != QList<int>{query.RecNo() - 1})
    out << "accessible selection " << (table->selectedRows().isEmpty() ? -1 : table->selectedRows()[0]) << " for record "
        << query.RecNo() << "; ";
  if (table->selectedCellCount() != columns) out << "selected cells " << table->selectedCellCount() << "; ";
  if (grid->isVisible() && grid->viewport()->height() > grid->RowHeights(0) + grid->DefaultRowHeight() + 2) {
    const QRect last = grid->CellRect(grid->FixedCols(), link.RecordCount());
    if (!last.isEmpty() && last.bottom() >= grid->viewport()->height())
      out << "the last buffered row reaches below the view; ";
  }
  return out.str();
}

}  // namespace

TEST_F(GridRandomTest, ThousandsOfRandomStepsKeepTheGridItsDataSetAndItsAccessibleTableInAgreement) {
  open(text::utf8ToAnsi(kStatements[0]));
  grid->setFocus();
  std::ostringstream log;
  for (int i = 0; i < 3000; ++i) {
    log.str("");
    step(log);
    const std::string wrong = disagreement();
    ASSERT_EQ(wrong, "") << "after step " << i << ": " << log.str();
  }
}
