// The grid's search dialog over a real query: Ctrl+F, the column list, matching, directions,
// the not-found box and the position restored.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "grid/DBGridEhFindDlgs.h"
#include "platform/db/DataSet.h"
#include "platform/forms/Application.h"
#include "platform/text/AnsiText.h"
#include "tests/grid/grid_fixture.h"

namespace {

AnsiString g(const char* utf8) { return text::utf8ToAnsi(utf8); }

class FindDialogTest : public GridTest {
 protected:
  FindDialogTest() {
    dialog.cbText->clear();  // the one dialog of the process keeps its history between grids
    previous = SetMessageBoxPresenter([this](const TMessageBoxRequest& request) {
      boxes.push_back(request.text);
      return mrOk;
    });
  }
  ~FindDialogTest() override {
    dialog.hide();
    SetMessageBoxPresenter(std::move(previous));
  }

  // Opens the dialog without blocking and sets its choices; the search runs over every
  // visible column.
  void prepare(const char* search, int direction = 2, int match = 0) {
    dialog.Execute(*grid, g(search), false);
    dialog.cbFindIn->setCurrentIndex(dialog.cbFindIn->count() - 1);
    dialog.cbFindDirection->setCurrentIndex(direction);
    dialog.cbMatchinType->setCurrentIndex(match);
  }

  TDBGridEhFindDlg& dialog = DBGridEhFindDlg();
  std::vector<QString> boxes;
  TMessageBoxPresenter previous;
};

}  // namespace

TEST_F(FindDialogTest, CtrlFOpensTheModalDialogOnTheSelectedColumnsItem) {
  open(g("select id, tm as 作品 from t"));
  grid->setFocus();
  QStringList items;
  QString text = QStringLiteral("unset");
  QTimer::singleShot(0, [&] {
    for (int i = 0; i < dialog.cbFindIn->count(); ++i) items << dialog.cbFindIn->itemText(i);
    text = dialog.cbFindIn->currentText() + QLatin1Char('|') + dialog.cbText->currentText();
    dialog.bCancel->click();
  });
  key(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(items, (QStringList{QStringLiteral("id"), QStringLiteral("作品"), QStringLiteral("<全部>")}));
  EXPECT_EQ(text, QStringLiteral("id|")) << "the selected column's item, an empty search box";
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("查找文本"));
  EXPECT_EQ(dialog.size(), QSize(505, 124));

  grid->Columns()[0]->SetVisible(false);
  QTimer::singleShot(0, [&] {
    text = dialog.cbFindIn->currentText();
    dialog.bCancel->click();
  });
  key(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(text, QStringLiteral("<全部>")) << "a hidden selected column matches no item";
}

TEST_F(FindDialogTest, SearchingEverythingStepsFromMatchToMatchAndReportsTheEnd) {
  open(g("select id, tm as 作品 from t"));
  grid->Columns()[0]->SetVisible(false);
  query.MoveBy(30);
  prepare("诗5");
  std::vector<int> found;
  for (int i = 0; i < 8 && boxes.empty(); ++i) {
    dialog.FindNext();
    if (boxes.empty()) found.push_back(query.RecNo());
  }
  EXPECT_EQ(found, (std::vector<int>{5, 50, 51, 52, 53, 54, 55, 56}));
  for (int i = 0; i < 5 && boxes.empty(); ++i) dialog.FindNext();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], QStringLiteral("字符 \"诗5\" 没有找到。"));
  EXPECT_EQ(query.RecNo(), 59) << "back where the last match left it";
  EXPECT_EQ(dialog.cbText->findText(QStringLiteral("诗5")), 0) << "the text went into the history once";
  EXPECT_EQ(dialog.cbText->count(), 1);
}

TEST_F(FindDialogTest, DirectionsMatchTypesAndCase) {
  open(g("select id, case when id = 5 then 'ABC' when id = 7 then 'xabcx' else tm end as tm from t"));
  query.MoveBy(19);  // record 20
  prepare("abc", 0, 0);  // upwards, anywhere
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 7);
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 5);

  prepare("abc", 2, 1);  // everything, whole field
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 5) << "case-insensitive by default";
  dialog.cbCharCase->setChecked(true);
  prepare("abc", 2, 1);
  dialog.FindNext();
  EXPECT_EQ(boxes.size(), 1u) << "with the case checked abc is not ABC";
  EXPECT_EQ(query.RecNo(), 5) << "the position is restored";
  dialog.cbCharCase->setChecked(false);

  prepare("xab", 2, 2);  // everything, beginning of field
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 7);

  // Upwards with Ctrl held searches downwards.
  query.First();
  prepare("abc", 0, 0);
  QTest::keyPress(grid, Qt::Key_Control, Qt::ControlModifier);
  dialog.FindNext();
  QTest::keyRelease(grid, Qt::Key_Control);
  EXPECT_EQ(query.RecNo(), 5);
}

TEST_F(FindDialogTest, EveryColumnOfARecordComesBeforeTheNextRecord) {
  open(g("select id, tm, id * 10 as n from t"));
  query.First();
  prepare("1", 2, 1);  // whole field, every column
  dialog.cbUseFormat->setChecked(false);
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_EQ(dialog.PositionIndex(), 0) << "id of record 1";
  dialog.FindNext();
  EXPECT_EQ(boxes.size(), 1u) << "nothing else is exactly 1";
  EXPECT_EQ(query.RecNo(), 1);

  prepare("10", 2, 1);
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 1);
  EXPECT_EQ(dialog.PositionIndex(), 2) << "n of record 1 comes before id of record 10";
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 10);
  EXPECT_EQ(dialog.PositionIndex(), 0);
  dialog.cbUseFormat->setChecked(true);
}

TEST_F(FindDialogTest, MatchingTakesWholeCharactersAndTheCaseOfLatinLettersOnly) {
  // 璠 is AD 5B, its second byte "["; 癮 is B0 61 and 癆 B0 41, their second bytes "a" and "A".
  open(g("select id, case id when 3 then '陈璠' when 4 then '癮' when 5 then '癆' when 9 then 'a[1]' "
         "else tm end as tm from t"));
  prepare("[");
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 9) << "only the real bracket";
  prepare("a");
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 9) << "no character merely ends in the byte of a or A";
  prepare("璠");
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 3);
  prepare("A", 2, 1);
  dialog.FindNext();
  EXPECT_EQ(query.RecNo(), 3) << "the whole field A is in no record, however the case is read";
  ASSERT_EQ(boxes.size(), 1u);
}

TEST_F(FindDialogTest, TheColumnListStartsOnTheGridsSelectedColumn) {
  grid->SetOptions(grid->Options() & ~dgRowSelect);
  open(g("select id, tm as 作品, id * 10 as n from t"));
  grid->SetSelectedIndex(1);
  grid->setFocus();
  QString chosen;
  QTimer::singleShot(0, [&] {
    chosen = dialog.cbFindIn->currentText();
    dialog.bCancel->click();
  });
  key(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(chosen, QStringLiteral("作品"));
}

TEST_F(FindDialogTest, EnterFindsEscClosesAndAnOpenDropDownKeepsBoth) {
  open(g("select id, tm from t"));
  query.MoveBy(29);
  prepare("诗5");
  QTest::keyClick(dialog.cbText, Qt::Key_Return);
  EXPECT_EQ(query.RecNo(), 5) << "Enter in the search box finds";
  QTest::keyClick(dialog.cbFindIn, Qt::Key_Enter);
  EXPECT_EQ(query.RecNo(), 50) << "Enter on another control finds the next";

  dialog.cbMatchinType->showPopup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cbMatchinType->view()->isVisible(); }));
  QTest::keyClick(dialog.cbMatchinType, Qt::Key_Return);
  EXPECT_EQ(query.RecNo(), 50) << "the open list takes the Enter";
  if (dialog.cbMatchinType->view()->isVisible()) dialog.cbMatchinType->hidePopup();
  dialog.cbMatchinType->showPopup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.cbMatchinType->view()->isVisible(); }));
  QTest::keyClick(dialog.cbMatchinType, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible()) << "the open list takes the Esc";
  if (dialog.cbMatchinType->view()->isVisible()) dialog.cbMatchinType->hidePopup();

  QTest::keyClick(dialog.cbText, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible()) << "Esc closes the dialog";
  EXPECT_TRUE(boxes.empty());
}
