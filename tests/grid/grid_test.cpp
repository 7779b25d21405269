// The data grid on a real query in a real (offscreen) window: columns, rows, pixels, clicks,
// keys, the wheel and the scroll bar.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>

#include "platform/db/DataSet.h"
#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"
#include "tests/grid/grid_fixture.h"

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

std::vector<AnsiString> titles(TDBGridEh& grid) {
  std::vector<AnsiString> out;
  for (int i = 0; i < grid.Columns().Count(); ++i) out.push_back(grid.Columns()[i]->Title().Caption());
  return out;
}

// Pixels of a rectangle that are nearly white: text drawn in the highlight text colour.
int countWhitish(const QImage& image, const QRect& rect) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) n += image.pixelColor(x, y).lightness() > 230;
  return n;
}

}  // namespace

TEST_F(GridTest, ColumnsFollowTheFieldsOfEveryOpenAndVanishWhenClosed) {
  open(g("select id, tm as 作品 from t"));
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{"id", g("作品")}));
  EXPECT_FALSE(grid->Columns()[0]->Stored()) << "automatic columns";
  EXPECT_EQ(grid->ColCount(), 2) << "no indicator column";

  open(g("select tm as 标题, id * 2 as 双, id as 编号 from t"));
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{g("标题"), g("双"), g("编号")}));
  EXPECT_EQ(grid->Columns()[0]->Field(), query.Fields()[0]);

  query.Fields()[1]->SetVisible(false);
  EXPECT_EQ(titles(*grid), (std::vector<AnsiString>{g("标题"), g("编号")})) << "a hidden field gets no column";

  query.Close();
  ASSERT_EQ(grid->Columns().Count(), 1) << "a closed query shows one empty column";
  EXPECT_EQ(grid->Columns()[0]->Field(), nullptr);
  EXPECT_EQ(grid->RowCount(), 2) << "the title row and one empty data row";
}

TEST_F(GridTest, AutomaticWidthComesFromTheFieldsDisplayWidthAndSizingWritesItBack) {
  open(g("select id, tm as 作品 from t"));
  TColumnEh& title = *grid->Columns()[1];
  TField& field = *query.Fields()[1];
  const int zero = QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("0"));
  EXPECT_EQ(title.Width(), zero * field.DisplayWidth() + 4);
  field.SetDisplayWidth(20);
  EXPECT_EQ(title.Width(), zero * 20 + 4);

  // Pixels back to characters: (pixels + average width / 2 - 3) / width of "0".
  const int average = QFontMetrics(grid->font()).averageCharWidth();
  title.SetWidth(zero * 7 + 4);
  EXPECT_EQ(field.DisplayWidth(), (zero * 7 + 4 + average / 2 - 3) / zero);
  EXPECT_EQ(grid->ColWidths(1), title.Width());

  title.SetMaxWidth(50);
  title.SetWidth(300);
  EXPECT_EQ(title.Width(), 50) << "clamped by MaxWidth";
  title.SetMinWidth(60);
  title.SetWidth(10);
  EXPECT_EQ(title.Width(), 60) << "clamped by MinWidth";

  open(g("select id, tm as 作品 from t"));
  EXPECT_FALSE(grid->Columns()[1]->AssignedValue(cvWidth)) << "new fields start again from their own widths";
}

TEST_F(GridTest, TheBufferHoldsTheRowsThatFitAndTheRowCountTheRecordsBuffered) {
  open(g("select id, tm from t"));
  const int titleSpace = grid->RowHeights(0) + 1;
  const int pitch = grid->DefaultRowHeight() + 1;
  const int fit = (grid->viewport()->height() - titleSpace) / pitch;
  EXPECT_EQ(grid->DataLink().BufferCount(), fit);
  EXPECT_EQ(grid->RowCount(), fit + 1);
  EXPECT_EQ(grid->DefaultRowHeight(), QFontMetrics(grid->font()).height() + 1 + 1) << "flat: text + 1 + line";

  window->resize(300, 400 + 5 * pitch);
  QApplication::processEvents();
  EXPECT_EQ(grid->DataLink().BufferCount(), (grid->viewport()->height() - titleSpace) / pitch);

  open(g("select id, tm from t where id > 1000"));
  EXPECT_EQ(grid->RowCount(), 2) << "an empty result keeps one empty data row";
}

TEST_F(GridTest, TheFocusedCurrentRowIsShadowGreyAndAnUnfocusedGridShowsNoHighlight) {
  open(g("select id, tm from t"));
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }));
  const QRect current = visible(1, 1), next = visible(1, 2);
  QImage image = grid->viewport()->grab().toImage();
  const QColor shadow(128, 128, 128), white(255, 255, 255), silver(192, 192, 192);
  EXPECT_EQ(image.pixelColor(current.right() - 2, current.center().y()), shadow);
  EXPECT_EQ(image.pixelColor(next.right() - 2, next.center().y()), white);
  EXPECT_GT(countWhitish(image, current), 10) << "the text of the current row is white";
  EXPECT_EQ(image.pixelColor(next.center().x(), next.bottom() + 1), silver) << "the line between data rows";
  const QRect title = grid->CellRect(0, 0);
  EXPECT_EQ(image.pixelColor(title.center().x(), title.top()), white) << "the title's raised edge";
  EXPECT_EQ(image.pixelColor(title.right() + 1, title.center().y()), shadow) << "a flat grid's fixed lines";

  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid->hasFocus(); }));
  image = grid->viewport()->grab().toImage();
  EXPECT_EQ(image.pixelColor(current.right() - 2, current.center().y()), white);
}

TEST_F(GridTest, APressMovesTheDataSetAndTheReleaseRaisesTheClickWithTheColumn) {
  open(g("select id, tm as 作品 from t"));
  std::vector<AnsiString> cells, titleClicks;
  grid->OnCellClick = [&](TColumnEh& column) { cells.push_back(column.FieldName() + "@" + std::to_string(query.RecNo())); };
  grid->OnTitleClick = [&](TColumnEh& column) { titleClicks.push_back(column.FieldName()); };

  click(centre(1, 3));
  EXPECT_EQ(query.RecNo(), 3);
  EXPECT_EQ(cells, (std::vector<AnsiString>{g("作品") + "@3"}));

  click(centre(0, 0));
  EXPECT_EQ(titleClicks, (std::vector<AnsiString>{"id"}));
  EXPECT_EQ(query.RecNo(), 3) << "a title click does not move the data set";

  // Dragging a title border sizes the column and clicks nothing.
  const QRect first = grid->CellRect(0, 0);
  const int before = grid->ColWidths(0);
  QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(first.right() + 1, first.center().y()));
  QTest::mouseMove(grid->viewport(), QPoint(first.right() + 31, first.center().y()));
  QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(first.right() + 31, first.center().y()));
  EXPECT_EQ(grid->ColWidths(0), before + 30);
  EXPECT_EQ(grid->Columns()[0]->Width(), before + 30);
  EXPECT_EQ(titleClicks.size(), 1u);
  EXPECT_EQ(cells.size(), 1u);

  open(g("select id, tm as 作品 from t where id > 1000"));
  click(centre(1, 1));
  EXPECT_EQ(cells.size(), 2u) << "the empty row of an empty result still reports its column";
}

TEST_F(GridTest, WheelAndKeysMoveTheDataSetByRecordsAndPages) {
  open(g("select id, tm from t"));
  grid->setFocus();
  wheel(-120);
  EXPECT_EQ(query.RecNo(), 2);
  wheel(120);
  EXPECT_EQ(query.RecNo(), 1);

  const int visible = grid->VisibleDataRowCount();
  key(Qt::Key_PageDown);
  EXPECT_EQ(query.RecNo(), 1 + visible);
  key(Qt::Key_PageUp);
  EXPECT_EQ(query.RecNo(), 1);
  key(Qt::Key_Down);
  EXPECT_EQ(query.RecNo(), 2);
  key(Qt::Key_End);
  EXPECT_EQ(query.RecNo(), 60) << "a row-select grid's End goes to the last record";
  wheel(-120);
  EXPECT_EQ(query.RecNo(), 60) << "the wheel stops at the last record";
  EXPECT_EQ(grid->Row(), grid->DataLink().ActiveRecord() + 1) << "the current row follows the data set";
  key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(query.RecNo(), 1);
}

TEST_F(GridTest, TheVerticalScrollBarFollowsTheRecordsFetchedSoFar) {
  open(g("select id, tm from t"));
  const TGridScrollInfo& info = grid->VertScrollInfo();
  EXPECT_EQ(info.Min, 1);
  EXPECT_EQ(info.Page, grid->VisibleDataRowCount());
  EXPECT_EQ(info.Max, query.RecordCount() + info.Page - 1);
  EXPECT_LT(query.RecordCount(), 60) << "the first blocks only";
  EXPECT_EQ(info.Pos, 1);
  key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(info.Max, 60 + info.Page - 1);
  EXPECT_EQ(info.Pos, 60);
  EXPECT_TRUE(grid->verticalScrollBar()->isVisible());

  query.Close();
  EXPECT_EQ(info.Min, 0);
  EXPECT_EQ(info.Max, 1);
  EXPECT_EQ(info.Page, 2);
}

TEST(GridColours, LightenTakesHalfwayToTheGlassThenTowards225) {
  EXPECT_EQ(Lighten(clWindow, clBtnShadow, false), RGB(212, 212, 212));
  // 0 → 64 → 160.6 with the glass at 128; grey correction takes a quarter of (122 - l) off:
  // 160.6 + 9.65 = 170.25.
  EXPECT_EQ(Lighten(clBlack, clBtnShadow, false), RGB(161, 161, 161));
  EXPECT_EQ(Lighten(clBlack, clBtnShadow, true), RGB(170, 170, 170));
  // Each channel on its own: 0 under 255 and 255 under 0 both meet at 127.5, then 186.
  EXPECT_EQ(Lighten(RGB(0, 255, 0), RGB(255, 0, 0), false), RGB(186, 186, 135));
  EXPECT_EQ(Lighten(RGB(10, 15, 0), RGB(10, 16, 0), false), RGB(139, 141, 135));
}

TEST_F(GridTest, TheIndicatorColumnPointsAtTheCurrentRecord) {
  grid->SetOptions(grid->Options() | dgIndicator);
  open(g("select id, tm from t"));
  ASSERT_EQ(grid->ColWidths(0), 11);
  EXPECT_EQ(grid->ColCount(), 3);
  query.MoveBy(2);
  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid->hasFocus(); }));
  QImage image = grid->viewport()->grab().toImage();
  // Inside the cell's raised edge, whose top and left lines are white.
  auto count = [&](int row, auto test) {
    const QRect cell = grid->CellRect(0, row).adjusted(1, 1, -1, -1);
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) n += test(image.pixelColor(x, y));
    return n;
  };
  const auto black = [](QColor c) { return c.lightness() < 60; };
  const auto white = [](QColor c) { return c == QColor(255, 255, 255); };
  EXPECT_GT(count(3, black), 10) << "the black triangle of the current record";
  EXPECT_EQ(count(1, black), 0);
  EXPECT_EQ(count(2, black), 0);

  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }));
  image = grid->viewport()->grab().toImage();
  EXPECT_EQ(count(3, black), 0);
  EXPECT_GT(count(3, white), 10) << "white on the highlighted row";
}

TEST_F(GridTest, ADisplayFormatShapesNumbersAndEmptiesOtherKinds) {
  open(g("select id * 1234567.126 - 3000 as n, -id * 1000 as m, tm from t"));
  TColumnEh& n = *grid->Columns()[0];
  TColumnEh& m = *grid->Columns()[1];
  n.SetDisplayFormat("#,##0.00");
  m.SetDisplayFormat("0");
  grid->Columns()[2]->SetDisplayFormat("0.0");
  EXPECT_EQ(n.DisplayText(), "1,231,567.13");
  EXPECT_EQ(m.DisplayText(), "-1000");
  EXPECT_EQ(grid->Columns()[2]->DisplayText(), "") << "a text field under a number format";
  query.MoveBy(1);
  EXPECT_EQ(n.DisplayText(), "2,466,134.25");
  n.SetDisplayFormat("#,##0");
  m.SetDisplayFormat("#,##0");
  EXPECT_EQ(m.DisplayText(), "-2,000");
  n.SetDisplayFormat("");
  EXPECT_EQ(n.DisplayText(), query.Fields()[0]->DisplayText());
}

TEST_F(GridTest, EveryBufferedRowLiesWhollyInViewAtEveryHeightAndNoFurtherRowWouldFit) {
  open(g("select id, tm from t"));
  const int pitch = grid->DefaultRowHeight() + 1;
  // Over two row pitches of heights, so that the title row's height falls at every place in
  // a row's pitch: reading the view as if the title row held a data row buffers one too many
  // at some of them.
  for (int extra = 0; extra < 2 * pitch; ++extra) {
    window->resize(300, 300 + extra);
    QApplication::processEvents();
    const int buffered = grid->DataLink().BufferCount();
    const int height = grid->viewport()->height();
    const QRect last = grid->CellRect(0, buffered);
    ASSERT_FALSE(last.isEmpty()) << "height " << height;
    EXPECT_LT(last.bottom() + 1, height) << "the last buffered row and its line lie inside the view at height "
                                         << height;
    EXPECT_GE(last.bottom() + pitch + 1, height) << "one row more would have fitted at height " << height;
    EXPECT_EQ(grid->RowCount(), buffered + 1);
  }
}

TEST_F(GridTest, AFlatTitleRowIsTheTextHeightAndTwoPixelsAndARaisedOneFour) {
  open(g("select id, tm from t"));
  const int text = QFontMetrics(grid->TitleFont()).height();
  EXPECT_EQ(grid->RowHeights(0), text + 2);
  grid->SetFlat(false);
  EXPECT_EQ(grid->RowHeights(0), text + 4);
  EXPECT_EQ(grid->DefaultRowHeight(), QFontMetrics(grid->font()).height() + 3 + 1) << "text + 3 + line";
}

TEST_F(GridTest, TheFocusedCurrentRowHasADottedFocusRectangle) {
  open(g("select id, tm from t"));
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return grid->hasFocus(); }));
  QRect row;
  for (int col = grid->FixedCols(); col < grid->ColCount(); ++col) row |= grid->CellRect(col, 1);
  row &= grid->viewport()->rect();
  // White dots xor-ed over the grey highlight: every other pixel of the row's top edge.
  const auto dots = [&] {
    const QImage image = grid->viewport()->grab().toImage();
    int n = 0;
    for (int x = row.left(); x <= row.right(); ++x)
      n += image.pixelColor(x, row.top()) == QColor(127, 127, 127);
    return n;
  };
  EXPECT_GE(dots(), row.width() / 2 - 2);
  key(Qt::Key_Down);
  EXPECT_EQ(dots(), 0) << "the rectangle follows the current row";
  key(Qt::Key_Up);
  other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !grid->hasFocus(); }));
  EXPECT_EQ(dots(), 0) << "no focus, no rectangle";
}
