// The data grid as a screen reader reads it through Qt's accessibility, on a real query in a
// real (offscreen) window: rows and columns, what the cells say and where they lie, and the
// current record as the selection. What the grid tells of its changes needs accessibility
// switched on, which no offscreen window has: grid_accessible_events_test.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <climits>

#include "platform/db/DataSet.h"
#include "platform/text/AnsiText.h"
#include "tests/grid/grid_fixture.h"

// Failures show texts as text.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

class GridAccessibleTest : public GridTest {
 protected:
  QAccessibleInterface* face() const { return QAccessible::queryAccessibleInterface(grid); }
  QAccessibleTableInterface* table() const { return face()->tableInterface(); }
  QString name(int row, int column) const {
    QAccessibleInterface* cell = table()->cellAt(row, column);
    return cell ? cell->text(QAccessible::Name) : QStringLiteral("<no cell>");
  }
  QRect global(const QRect& rect) const { return QRect(grid->viewport()->mapToGlobal(rect.topLeft()), rect.size()); }
  void focusGrid() {
    grid->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }));
  }
};

TEST_F(GridAccessibleTest, RowsAreTheRecordsFetchedSoFarAndTheTitleRowIsNone) {
  ASSERT_NE(face(), nullptr);
  ASSERT_NE(table(), nullptr) << "the grid answers as a table";
  EXPECT_EQ(face()->role(), QAccessible::Table);
  EXPECT_EQ(table()->rowCount(), 0) << "closed";

  open(g("select id, tm from t where id > 1000"));
  EXPECT_EQ(table()->rowCount(), 0) << "the blank row an empty result paints is no record";
  EXPECT_EQ(table()->columnCount(), 2);
  EXPECT_EQ(table()->cellAt(0, 0), nullptr);
  EXPECT_TRUE(table()->selectedRows().isEmpty());

  open(g("select id, tm from t"));
  const int fetched = query.RecordCount();
  ASSERT_LT(fetched, 60) << "the first block only";
  ASSERT_GT(fetched, grid->VisibleDataRowCount()) << "more records than rows in view";
  EXPECT_EQ(table()->rowCount(), fetched);
  EXPECT_EQ(name(0, 0), QStringLiteral("1")) << "row 0 is the first record, not the title row";
  EXPECT_EQ(name(fetched - 1, 1), QStringLiteral("诗%1").arg(fetched)) << "the last record fetched, out of view";
  EXPECT_EQ(query.RecordCount(), fetched) << "reading it fetched nothing more behind the person's back";
  EXPECT_EQ(table()->cellAt(fetched, 0), nullptr);

  focusGrid();
  while (query.RecNo() <= fetched) key(Qt::Key_PageDown);
  ASSERT_GT(query.RecordCount(), fetched) << "moving on fetched another block";
  EXPECT_EQ(table()->rowCount(), query.RecordCount());
  key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(table()->rowCount(), 60);
  EXPECT_EQ(name(59, 1), QStringLiteral("诗60"));

  query.Close();
  EXPECT_EQ(table()->rowCount(), 0);
  EXPECT_TRUE(table()->selectedRows().isEmpty());
}

TEST_F(GridAccessibleTest, ColumnsAreTheOnesInSightTitledAsTheGridTitlesThem) {
  open(g("select id as 编号, tm as 作品, id * 2 as 双, id + 100 as 加 from t"));
  ASSERT_EQ(table()->columnCount(), 4);
  // As the reader hides its number columns; a zero width hides a column as well.
  grid->Columns()[0]->SetVisible(false);
  grid->Columns()[2]->SetWidth(0);
  ASSERT_EQ(grid->ColWidths(2), 0);
  EXPECT_EQ(table()->columnCount(), 2);
  EXPECT_EQ(table()->columnDescription(0), QStringLiteral("作品"));
  EXPECT_EQ(table()->columnDescription(1), QStringLiteral("加"));
  EXPECT_EQ(name(3, 0), QStringLiteral("诗4")) << "the first column in sight, not the hidden number";
  EXPECT_EQ(name(3, 1), QStringLiteral("104"));
  EXPECT_EQ(table()->cellAt(0, 2), nullptr);
  EXPECT_EQ(table()->cellAt(-1, 0), nullptr);
  EXPECT_EQ(table()->cellAt(INT_MAX, INT_MAX), nullptr);
  EXPECT_EQ(table()->columnDescription(2), QString());

  QAccessibleInterface* cell = table()->cellAt(3, 1);
  ASSERT_NE(cell->tableCellInterface(), nullptr);
  const QList<QAccessibleInterface*> headers = cell->tableCellInterface()->columnHeaderCells();
  ASSERT_EQ(headers.size(), 1);
  EXPECT_EQ(headers[0]->text(QAccessible::Name), QStringLiteral("加"));
  EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
  EXPECT_EQ(cell->role(), QAccessible::Cell);

  // Children as AT-SPI walks them: the two titles, then the cells row by row.
  EXPECT_EQ(face()->childCount(), 2 * (table()->rowCount() + 1));
  EXPECT_EQ(face()->child(0)->text(QAccessible::Name), QStringLiteral("作品"));
  EXPECT_EQ(face()->child(2 + 3 * 2 + 1), cell);
  EXPECT_EQ(face()->indexOfChild(cell), 2 + 3 * 2 + 1);
  EXPECT_EQ(cell->parent(), face());
  EXPECT_EQ(face()->child(face()->childCount()), nullptr);
  EXPECT_EQ(face()->child(-1), nullptr);

  grid->setAccessibleName(QStringLiteral("作品列表"));
  EXPECT_EQ(face()->text(QAccessible::Name), QStringLiteral("作品列表"));
  grid->setAccessibleName(QString());
  grid->setObjectName(QStringLiteral("DBGridEh1"));
  EXPECT_EQ(face()->text(QAccessible::Name), QStringLiteral("DBGridEh1")) << "without a name, the grid's own";
}

TEST_F(GridAccessibleTest, CellsSayWhatTheGridPaintsAndRowsOutOfViewAreReadWithoutMovingAnything) {
  open(g("select id * 1234567.126 - 3000 as n, tm from t"));
  grid->Columns()[0]->SetDisplayFormat("#,##0.00");
  EXPECT_EQ(name(0, 0), QStringLiteral("1,231,567.13"));
  EXPECT_EQ(name(1, 0), QStringLiteral("2,466,134.25"));
  EXPECT_EQ(name(1, 1), QStringLiteral("诗2"));

  // The current record in the middle of a window that no longer starts at the first record.
  focusGrid();
  key(Qt::Key_PageDown);
  key(Qt::Key_Up);
  key(Qt::Key_Up);
  key(Qt::Key_Up);
  const TGridDataLinkEh& link = grid->DataLink();
  const int recNo = query.RecNo(), active = link.ActiveRecord(), first = recNo - active;
  ASSERT_GT(first, 1);
  ASSERT_GT(active, 0);
  ASSERT_LT(active, link.RecordCount() - 1);
  const QImage before = grid->viewport()->grab().toImage();
  const TGridScrollInfo bar = grid->VertScrollInfo();
  const int fetched = query.RecordCount();

  EXPECT_EQ(name(0, 1), QStringLiteral("诗1")) << "above the view";
  EXPECT_EQ(name(first - 1, 1), QStringLiteral("诗%1").arg(first)) << "the first row in view";
  EXPECT_EQ(name(21, 0), QStringLiteral("27,157,476.77")) << "below the view, formatted as well";
  EXPECT_EQ(name(21, 1), QStringLiteral("诗22"));

  EXPECT_EQ(query.RecNo(), recNo);
  EXPECT_EQ(link.ActiveRecord(), active) << "the same records in view";
  EXPECT_EQ(grid->Row(), active + 1);
  EXPECT_EQ(grid->VertScrollInfo().Pos, bar.Pos);
  EXPECT_EQ(grid->VertScrollInfo().Max, bar.Max);
  EXPECT_EQ(query.RecordCount(), fetched);
  QApplication::processEvents();
  EXPECT_EQ(grid->viewport()->grab().toImage(), before) << "the person sees nothing move";

  // At either end the data set still knows it is there.
  key(Qt::Key_End, Qt::ControlModifier);
  ASSERT_TRUE(query.Eof());
  EXPECT_EQ(name(0, 1), QStringLiteral("诗1"));
  EXPECT_TRUE(query.Eof());
  EXPECT_EQ(query.RecNo(), 60);
  key(Qt::Key_Home, Qt::ControlModifier);
  ASSERT_TRUE(query.Bof());
  EXPECT_EQ(name(59, 1), QStringLiteral("诗60"));
  EXPECT_TRUE(query.Bof());
  EXPECT_EQ(query.RecNo(), 1);
}

TEST_F(GridAccessibleTest, CellsLieWhereTheGridDrawsThemAndRowsScrolledAwayAreOffscreen) {
  open(g("select id, tm from t"));
  QAccessibleInterface* cell = table()->cellAt(2, 1);
  ASSERT_FALSE(grid->CellRect(1, 3).isEmpty());
  EXPECT_EQ(cell->rect(), global(grid->CellRect(1, 3))) << "row 2 is the third grid row below the title";
  EXPECT_FALSE(cell->state().offscreen);
  QAccessibleInterface* title = cell->tableCellInterface()->columnHeaderCells().value(0);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->rect(), global(grid->CellRect(1, 0)));
  // A point a person could click: the middle of the cell's part in view (a text column is
  // wider than the view).
  const QPoint inCell = grid->viewport()->mapToGlobal(centre(1, 3));
  const QPoint inTitle = grid->viewport()->mapToGlobal(centre(1, 0));
  EXPECT_EQ(face()->childAt(inCell.x(), inCell.y()), cell);
  EXPECT_EQ(face()->childAt(inTitle.x(), inTitle.y()), title);
  const QPoint outside = grid->viewport()->mapToGlobal(QPoint(-5, 5));
  EXPECT_EQ(face()->childAt(outside.x(), outside.y()), nullptr);

  QAccessibleInterface* below = table()->cellAt(20, 1);
  EXPECT_TRUE(below->rect().isEmpty());
  EXPECT_TRUE(below->state().offscreen);

  focusGrid();
  key(Qt::Key_PageDown);
  key(Qt::Key_PageDown);
  const int first = query.RecNo() - 1 - grid->DataLink().ActiveRecord();
  ASSERT_GT(first, 2);
  ASSERT_LE(first, 20);
  EXPECT_TRUE(cell->rect().isEmpty()) << "scrolled out of view";
  EXPECT_TRUE(cell->state().offscreen);
  EXPECT_EQ(below->rect(), global(grid->CellRect(1, 20 - first + 1)));
  EXPECT_FALSE(below->state().offscreen);
}

TEST_F(GridAccessibleTest, TheCurrentRecordsRowIsSelectedAndItsCellFocusedWhileTheGridHasTheFocus) {
  open(g("select id, tm from t"));
  focusGrid();
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  EXPECT_EQ(table()->selectedRows(), QList<int>{2});
  EXPECT_EQ(table()->selectedRowCount(), 1);
  EXPECT_TRUE(table()->isRowSelected(2));
  EXPECT_FALSE(table()->isRowSelected(1));
  EXPECT_FALSE(table()->isRowSelected(3));
  EXPECT_EQ(table()->selectedCellCount(), 2);
  const QList<QAccessibleInterface*> selected = table()->selectedCells();
  ASSERT_EQ(selected.size(), 2);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(selected[c]->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(selected[c]->tableCellInterface()->columnIndex(), c);
    EXPECT_TRUE(selected[c]->state().selected);
    EXPECT_TRUE(selected[c]->tableCellInterface()->isSelected());
  }
  QAccessibleInterface* current = table()->cellAt(2, 0);
  EXPECT_TRUE(current->state().focused);
  EXPECT_FALSE(table()->cellAt(1, 0)->state().selected);
  EXPECT_FALSE(table()->cellAt(1, 0)->state().focused);
  EXPECT_EQ(face()->focusChild(), current);

  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid->hasFocus(); }));
  EXPECT_TRUE(current->state().selected) << "the current record stays selected";
  EXPECT_FALSE(current->state().focused) << "but without the focus nothing in the grid is focused";
  EXPECT_EQ(face()->focusChild(), nullptr);

  // A screen reader's "select this row" moves the current record as a click does.
  EXPECT_TRUE(table()->selectRow(20));
  EXPECT_EQ(query.RecNo(), 21);
  EXPECT_EQ(table()->selectedRows(), QList<int>{20});
  EXPECT_FALSE(table()->selectRow(table()->rowCount()));
  EXPECT_EQ(query.RecNo(), 21);

  key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(table()->selectedRows(), QList<int>{59});
}

TEST_F(GridAccessibleTest, AGridWithoutDataOrAlreadyGoneAnswersNothingAndNeverFails) {
  TDBGridEh lone;
  QAccessibleInterface* loneFace = QAccessible::queryAccessibleInterface(&lone);
  ASSERT_NE(loneFace, nullptr);
  ASSERT_NE(loneFace->tableInterface(), nullptr) << "every data grid is a table";
  EXPECT_EQ(loneFace->tableInterface()->rowCount(), 0);
  EXPECT_EQ(loneFace->tableInterface()->cellAt(0, 0), nullptr);
  EXPECT_TRUE(loneFace->tableInterface()->selectedRows().isEmpty());
  EXPECT_FALSE(loneFace->tableInterface()->selectRow(0));
  EXPECT_EQ(loneFace->childAt(0, 0), nullptr);
  EXPECT_EQ(loneFace->focusChild(), nullptr);

  open(g("select id, tm from t"));
  QAccessibleInterface* cell = table()->cellAt(3, 1);
  ASSERT_NE(cell, nullptr);
  const QAccessible::Id tableId = QAccessible::uniqueId(face()), cellId = QAccessible::uniqueId(cell);
  // The grid goes while a screen reader still holds its table and a cell.
  window.reset();
  EXPECT_EQ(QAccessible::accessibleInterface(tableId), nullptr);
  EXPECT_EQ(QAccessible::accessibleInterface(cellId), nullptr);
}

}  // namespace
