// Moving through a grid as a person does: wheels and touchpads, the vertical scroll bar, the
// keys that jump within a page or scroll the columns, Tab, and Esc in the middle of a drag.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <limits>

#include "platform/db/DataSet.h"
#include "platform/text/AnsiText.h"
#include "tests/grid/grid_fixture.h"

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

void wheelOver(QWidget* target, int delta) {
  const QPointF at(target->width() / 2.0, target->height() / 2.0);
  QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &event);
}

std::vector<AnsiString> titles(TDBGridEh& grid) {
  std::vector<AnsiString> out;
  for (int i = 0; i < grid.Columns().Count(); ++i) out.push_back(grid.Columns()[i]->Title().Caption());
  return out;
}

class GridNavigationTest : public GridTest {
 protected:
  // Three columns that all fit the view.
  void openThree(const char* sql) {
    open(g(sql));
    for (int i = 0; i < grid->Columns().Count(); ++i) grid->Columns()[i]->SetWidth(60);
  }
  // The record shown in the first data row.
  int topRecord() { return query.RecNo() - grid->DataLink().ActiveRecord(); }
  // Presses at `from`, moves to `to`, optionally presses Esc, and lets go at `to`.
  void drag(QPoint from, QPoint to, bool escape = false) {
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(grid->viewport(), to);
    if (escape) QTest::keyClick(grid, Qt::Key_Escape);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, to);
  }
};

}  // namespace

TEST_F(GridNavigationTest, TheWheelMovesOneRecordPerNotchHoweverTheNotchesArrive) {
  open(g("select id, tm from t"));
  for (int i = 0; i < 8; ++i) wheel(-15);
  EXPECT_EQ(query.RecNo(), 2) << "a touchpad's eight eighths of a notch are one notch";
  wheel(-240);
  EXPECT_EQ(query.RecNo(), 4) << "one event of two notches";
  wheel(-60);
  EXPECT_EQ(query.RecNo(), 4) << "half a notch waits";
  wheel(-60);
  EXPECT_EQ(query.RecNo(), 5);
  wheel(-100);
  wheel(100);
  wheel(-20);
  EXPECT_EQ(query.RecNo(), 5) << "turning back takes the waiting part back first";
  wheel(360);
  EXPECT_EQ(query.RecNo(), 3) << "a fifth of a notch waited, so two notches and more";
  wheel(std::numeric_limits<int>::min());
  EXPECT_LE(query.RecNo(), 60) << "an absurd turn stays within the records";
  EXPECT_GT(query.RecNo(), 3);
}

TEST_F(GridNavigationTest, TheWheelOverTheScrollBarMovesTheRecordsAndTheThumbFollows) {
  open(g("select id, tm from t"));
  QScrollBar* bar = grid->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  // A desktop scrolls three lines a notch; the offscreen platform says none, and a scroll bar
  // that scrolls nothing would hand the wheel to the grid by itself.
  const int lines = QApplication::wheelScrollLines();
  QApplication::setWheelScrollLines(3);
  const auto restore = qScopeGuard([lines] { QApplication::setWheelScrollLines(lines); });
  wheelOver(bar, -360);
  EXPECT_EQ(query.RecNo(), 4) << "three notches over the bar, as over the cells";
  EXPECT_EQ(bar->value(), 4) << "the thumb shows the record";
  for (int i = 0; i < 4; ++i) wheelOver(bar, -30);
  EXPECT_EQ(query.RecNo(), 5);
  wheelOver(bar, 480);
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_EQ(bar->value(), 1);
}

TEST_F(GridNavigationTest, TheScrollBarsArrowsStepJustPastTheRowsInViewAndItsRangeEndsAtTheLastRecord) {
  open(g("select id, tm from t"));
  QScrollBar* bar = grid->verticalScrollBar();
  const int buffered = grid->DataLink().BufferCount();
  ASSERT_GT(buffered, 5);
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), query.RecordCount()) << "the thumb's last place is the last record fetched";
  EXPECT_EQ(bar->pageStep(), buffered);

  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(query.RecNo(), buffered + 1) << "line down: the record below the last row in view";
  EXPECT_EQ(topRecord(), 2) << "the view moves by one row";
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(query.RecNo(), 1) << "line up: the record above the first row in view";
  EXPECT_EQ(topRecord(), 1);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(query.RecNo(), 1 + buffered);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(query.RecNo(), 60);
  EXPECT_EQ(bar->maximum(), 60);
  EXPECT_EQ(bar->value(), bar->maximum()) << "the thumb at the bottom on the last record";
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_EQ(bar->value(), 1);
}

TEST_F(GridNavigationTest, CtrlKeysJumpToTheTopOrBottomRowOfThePageWithoutScrolling) {
  open(g("select id, tm from t"));
  grid->setFocus();
  const int buffered = grid->DataLink().BufferCount();
  key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), buffered) << "Ctrl+Down: the last row in view";
  EXPECT_EQ(topRecord(), 1);
  key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), 1);
  key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), buffered) << "Ctrl+Page Down";
  EXPECT_EQ(topRecord(), 1);

  key(Qt::Key_PageDown);
  key(Qt::Key_Down);
  const int top = topRecord();
  ASSERT_GT(top, 1);
  key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), top) << "Ctrl+Page Up: the first row in view";
  EXPECT_EQ(topRecord(), top);
  key(Qt::Key_Down, Qt::ControlModifier);
  key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), top);
  EXPECT_EQ(grid->Row(), 1);
}

TEST_F(GridNavigationTest, RightScrollsARowSelectGridOnlyWhileColumnsLieBeyondTheEdge) {
  open(g("select id, tm as 作品 from t"));
  grid->Columns()[0]->SetWidth(60);
  grid->Columns()[1]->SetWidth(100);
  grid->setFocus();
  key(Qt::Key_Right);
  key(Qt::Key_Right);
  EXPECT_EQ(grid->LeftCol(), 0) << "every column fits: nothing to scroll to";
  EXPECT_FALSE(grid->CellRect(0, 0).isEmpty()) << "the first title is still in view";

  grid->Columns()[0]->SetWidth(grid->viewport()->width() - 20);
  key(Qt::Key_Right);
  EXPECT_EQ(grid->LeftCol(), 1) << "the second column lay beyond the edge";
  key(Qt::Key_Right);
  EXPECT_EQ(grid->LeftCol(), 1) << "and now every column to its right is in view";
  key(Qt::Key_Left);
  EXPECT_EQ(grid->LeftCol(), 0);
  EXPECT_EQ(query.RecNo(), 1) << "the columns scroll, the records stay";
}

TEST_F(GridNavigationTest, LeftRightAndTabMoveTheColumnOfACellSelectGridAndTabWrapsToTheNextRecord) {
  grid->SetOptions(grid->Options() & ~dgRowSelect);
  open(g("select id, tm, id * 10 as n from t"));
  grid->setFocus();
  EXPECT_EQ(grid->SelectedIndex(), 0);
  key(Qt::Key_Right);
  EXPECT_EQ(grid->SelectedIndex(), 1);
  key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(grid->SelectedIndex(), 0);
  key(Qt::Key_Right);
  key(Qt::Key_Right);
  key(Qt::Key_Left);
  EXPECT_EQ(grid->SelectedIndex(), 1);
  key(Qt::Key_Left);

  key(Qt::Key_Tab);
  key(Qt::Key_Tab);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  EXPECT_EQ(query.RecNo(), 1);
  key(Qt::Key_Tab);
  EXPECT_EQ(grid->SelectedIndex(), 0) << "past the last column: the first of the next record";
  EXPECT_EQ(query.RecNo(), 2);
  key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(grid->SelectedIndex(), 2) << "before the first: the last of the previous record";
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_TRUE(grid->hasFocus()) << "Tab stays in the grid";
}

TEST_F(GridNavigationTest, TabInARowSelectGridRaisesOnlyTheColumnEvents) {
  open(g("select id, tm from t"));
  grid->setFocus();
  std::vector<std::string> events;
  grid->OnColExit = [&] { events.push_back("exit"); };
  grid->OnColEnter = [&] { events.push_back("enter"); };
  key(Qt::Key_Tab);
  EXPECT_EQ(events, (std::vector<std::string>{"exit", "enter"}));
  EXPECT_EQ(grid->SelectedIndex(), 0);
  EXPECT_EQ(query.RecNo(), 1);
}

TEST_F(GridNavigationTest, EscDuringAColumnDragCancelsItWithNoClickOnRelease) {
  openThree("select id, tm as 作品, id * 10 as n from t");
  std::vector<AnsiString> clicks;
  int sized = 0, moved = 0;
  grid->OnTitleClick = [&](TColumnEh& column) { clicks.push_back(column.FieldName()); };
  grid->OnColWidthsChanged = [&] { ++sized; };
  grid->OnColumnMoved = [&](int, int) { ++moved; };

  const QRect first = grid->CellRect(0, 0);
  const int width = grid->ColWidths(0);
  const int y = first.center().y();
  drag(QPoint(first.right() + 1, y), QPoint(first.right() + 41, y), true);
  EXPECT_EQ(grid->ColWidths(0), width) << "the width is back";
  EXPECT_EQ(grid->Columns()[0]->Width(), width);
  EXPECT_EQ(sized, 0);

  drag(centre(0, 0), centre(2, 0), true);
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{"id", g("作品"), "n"})) << "the column stays where it was";
  EXPECT_EQ(moved, 0);
  EXPECT_TRUE(clicks.empty()) << "no title click on the release of a cancelled drag";

  click(centre(1, 0));
  EXPECT_EQ(clicks, (std::vector<AnsiString>{g("作品")})) << "the next click counts again";
}

TEST_F(GridNavigationTest, AColumnDraggedOrAFieldMovedToTheRightLandsWhereItWasDropped) {
  openThree("select id, tm, id * 10 as n from t");
  std::vector<std::pair<int, int>> moves;
  grid->OnColumnMoved = [&](int from, int to) { moves.emplace_back(from, to); };
  drag(centre(0, 0), centre(2, 0));
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{"tm", "n", "id"}));
  EXPECT_EQ(query.Fields()[2]->FieldName(), "id") << "automatic columns move their fields";
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));

  query.FieldByName("tm").SetIndex(2);
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{"n", "id", "tm"})) << "a field moved by the program";

  grid->Columns().Clear();
  for (const char* name : {"id", "tm", "n"}) {
    TColumnEh* column = grid->Columns().Add();
    column->SetFieldName(name);
    column->SetWidth(60);
  }
  drag(centre(0, 0), centre(2, 0));
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{"tm", "n", "id"})) << "a persistent column moves itself";
  EXPECT_EQ(query.Fields()[0]->FieldName(), "n") << "and leaves the fields alone";
}
