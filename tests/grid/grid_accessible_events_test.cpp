// What the data grid tells a screen reader of its changes: opening, closing, re-opening with
// other columns, fetching more rows, and the current record moving. Qt only passes these events
// on while accessibility is on, which takes a real desktop with the AT-SPI bus: the test starts
// its own (Xvfb, a session bus, at-spi-bus-launcher) and runs the grid there, on xcb, taking the
// events through an update handler before Qt's bridge sees them.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <cstdlib>

#include "platform/db/DataSet.h"
#include "platform/forms/Application.h"
#include "platform/text/AnsiText.h"
#include "tests/grid/grid_fixture.h"
#include "tests/support/AccessibleDesktop.h"

// Failures show texts as text.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

// One event as a screen reader hears it: a table change with its rows, or a cell's place.
struct Heard {
  QAccessible::Event type;
  QObject* table = nullptr;
  int change = -1;
  int first = -1;
  int last = -1;
  int row = -1;
};

std::vector<Heard>* heard = nullptr;

void hear(QAccessibleEvent* event) {
  if (!heard) return;
  Heard h{event->type()};
  if (event->type() == QAccessible::TableModelChanged) {
    const auto* change = static_cast<QAccessibleTableModelChangeEvent*>(event);
    h.table = event->object();
    h.change = change->modelChangeType();
    h.first = change->firstRow();
    h.last = change->lastRow();
  } else if (event->type() == QAccessible::Focus || event->type() == QAccessible::Selection) {
    if (QAccessibleInterface* face = event->accessibleInterface())
      if (QAccessibleTableCellInterface* cell = face->tableCellInterface()) {
        h.table = cell->table()->object();
        h.row = cell->rowIndex();
      }
  }
  heard->push_back(h);
}

class GridEventsTest : public GridTest {
 protected:
  GridEventsTest() {
    heard = &events;
    previous_ = QAccessible::installUpdateHandler(hear);
  }
  ~GridEventsTest() override {
    QAccessible::installUpdateHandler(previous_);
    heard = nullptr;
  }

  QAccessibleTableInterface* table() const { return QAccessible::queryAccessibleInterface(grid)->tableInterface(); }
  void focus(QWidget* widget) {
    widget->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return widget->hasFocus(); }));
  }
  // The grid's table changes, in order.
  std::vector<Heard> changes() const {
    std::vector<Heard> out;
    for (const Heard& h : events)
      if (h.type == QAccessible::TableModelChanged && h.table == grid) out.push_back(h);
    return out;
  }
  // The rows of the grid's cells that events of `type` named, in order.
  std::vector<int> rows(QAccessible::Event type) const {
    std::vector<int> out;
    for (const Heard& h : events)
      if (h.type == type && h.table == grid) out.push_back(h.row);
    return out;
  }
  bool resetLast() const {
    return !changes().empty() && changes().back().change == QAccessibleTableModelChangeEvent::ModelReset;
  }

  std::vector<Heard> events;

 private:
  QAccessible::UpdateHandler previous_ = nullptr;
};

TEST_F(GridEventsTest, OpeningClosingAndReopeningWithOtherColumnsResetTheTable) {
  focus(grid);
  events.clear();
  open(g("select id, tm from t"));
  EXPECT_TRUE(resetLast());
  EXPECT_EQ(rows(QAccessible::Selection), std::vector<int>{0}) << "the first record is current";
  EXPECT_EQ(rows(QAccessible::Focus), std::vector<int>{0});

  events.clear();
  query.Close();
  EXPECT_TRUE(resetLast());
  EXPECT_TRUE(rows(QAccessible::Selection).empty()) << "nothing is current in a closed grid";

  events.clear();
  open(g("select tm as 标题 from t"));
  EXPECT_TRUE(resetLast());
  EXPECT_EQ(table()->columnDescription(0), QStringLiteral("标题"));
  EXPECT_EQ(rows(QAccessible::Selection), std::vector<int>{0});

  // As the reader hides its number column after opening: the table has another shape.
  open(g("select id, tm from t"));
  events.clear();
  grid->Columns()[0]->SetVisible(false);
  EXPECT_TRUE(resetLast());
  EXPECT_EQ(table()->columnCount(), 1);
}

TEST_F(GridEventsTest, FetchingMoreRowsAddsThemAtTheEnd) {
  open(g("select id, tm from t"));
  const int fetched = query.RecordCount();
  ASSERT_LT(fetched, 60);
  focus(grid);
  events.clear();
  while (query.RecNo() <= fetched) key(Qt::Key_PageDown);
  const int more = query.RecordCount();
  ASSERT_GT(more, fetched);
  ASSERT_EQ(changes().size(), 1u);
  EXPECT_EQ(changes()[0].change, QAccessibleTableModelChangeEvent::RowsInserted);
  EXPECT_EQ(changes()[0].first, fetched);
  EXPECT_EQ(changes()[0].last, more - 1);

  events.clear();
  key(Qt::Key_End, Qt::ControlModifier);
  ASSERT_EQ(changes().size(), 1u);
  EXPECT_EQ(changes()[0].change, QAccessibleTableModelChangeEvent::RowsInserted);
  EXPECT_EQ(changes()[0].first, more);
  EXPECT_EQ(changes()[0].last, 59);
  EXPECT_EQ(rows(QAccessible::Selection), std::vector<int>{59});
}

TEST_F(GridEventsTest, TheScreenReaderFollowsTheCurrentRecordAndHearsNothingOfReading) {
  open(g("select id, tm from t"));
  focus(grid);
  events.clear();
  key(Qt::Key_Down);
  key(Qt::Key_Down);
  EXPECT_TRUE(changes().empty()) << "a move changes no rows";
  EXPECT_EQ(rows(QAccessible::Selection), (std::vector<int>{1, 2}));
  EXPECT_EQ(rows(QAccessible::Focus), (std::vector<int>{1, 2}));

  // Reading rows out of view moves the data set there and back unheard.
  events.clear();
  EXPECT_EQ(table()->cellAt(20, 1)->text(QAccessible::Name), QStringLiteral("诗21"));
  EXPECT_TRUE(changes().empty());
  EXPECT_TRUE(rows(QAccessible::Selection).empty());
  EXPECT_TRUE(rows(QAccessible::Focus).empty());

  // Moved by the program while the person works elsewhere: selected, but nothing focused.
  focus(other);
  events.clear();
  query.MoveBy(3);
  EXPECT_EQ(rows(QAccessible::Selection), std::vector<int>{5});
  EXPECT_TRUE(rows(QAccessible::Focus).empty());
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  AccessibleDesktop desktop;
  if (!desktop.ok()) {
    std::fprintf(stderr, "no desktop for the test: %s\n", desktop.error().c_str());
    return EXIT_FAILURE;
  }
  TApplication application(argc, argv);
  if (!WaitForAccessibility()) return EXIT_FAILURE;
  return RUN_ALL_TESTS();
}
