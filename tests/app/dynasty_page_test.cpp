// The dynasty page as a person uses it: the dynasty list chooses only when a person chooses,
// and every poet's works open, whatever bytes the poet's name is made of.

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/ListBox.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

// Names whose bytes SQLite does not read as one plain identifier: a blank, brackets, and
// characters whose second byte is "|" (鷟), "\" (抃), "`" (峘) or "[" (璠).
const char* const kAwkwardNames[] = {"张鷟", "赵抃", "令狐峘", "尹鹗 六首", "敦煌人作品[一]", "陈璠"};

class DynastyPage : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> rows;
    int id = 0;
    for (const char* name : kAwkwardNames) {
      for (int poem = 1; poem <= 2; ++poem) {
        const std::string number = std::to_string(++id);
        rows.push_back("insert into sici values (" + number + ", '" + g("诗") + number + "', '" + g(name) + "', '" +
                       g("唐") + "', '', '')");
      }
      rows.push_back("insert into poet values ('" + g(name) + "', '" + g("唐") + "', '')");
    }
    rows.push_back(g("insert into sici values (99, '静夜思', '李白', '唐', '', '')"));
    rows.push_back(g("insert into poet values ('李白', '唐', '')"));
    rows.push_back(g("insert into poet values ('嵇康', '魏晋', '')"));
    folder.execCatalogue(rows);
    main = StartReader();
    ASSERT_TRUE(main);
  }

  // The works of the poet in uq2's current record, as a click on the poet opens them.
  void openWorks() { main->DBGridEh2->OnCellClick(*main->DBGridEh2->Columns()[0]); }
  bool locatePoet(const std::string& name) {
    for (main->uq2->First(); !main->uq2->Eof(); main->uq2->Next())
      if (main->uq2->Fields()[0]->AsString() == name) return true;
    return false;
  }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(DynastyPage, EveryPoetsWorksOpenAndAnAwkwardNameIsQuotedAsAnIdentifier) {
  ChooseDynasty(*main, 5);  // 唐
  for (const char* utf8 : kAwkwardNames) {
    const std::string name = g(utf8);
    ASSERT_TRUE(locatePoet(name)) << utf8;
    openWorks();
    EXPECT_TRUE(boxes.boxes.empty()) << utf8 << ": " << (boxes.boxes.empty() ? "" : boxes.boxes[0].text.toStdString());
    boxes.boxes.clear();
    EXPECT_EQ(main->uq3->RecordCount(), 2) << utf8;
    EXPECT_EQ(main->DBGridEh3->Columns()[1]->Title().Caption(), name + g("作品")) << utf8;
  }
  ASSERT_TRUE(locatePoet(g("尹鹗 六首")));
  openWorks();
  EXPECT_EQ(main->uq3->SQL().Text(), g("select id,tm as \"尹鹗 六首作品\" from sici where zz ='尹鹗 六首'") + "\r\n");

  ASSERT_TRUE(locatePoet(g("李白")));
  openWorks();
  EXPECT_EQ(main->uq3->SQL().Text(), g("select id,tm as 李白作品 from sici where zz ='李白'") + "\r\n")
      << "a plain name keeps the statement byte for byte";
}

TEST_F(DynastyPage, OnlyAPersonsChoiceInTheDynastyListReplacesThePoets) {
  const AnsiString tang = main->uq2->SQL().Text();
  main->PageControl1->tabBar()->setFocus();
  QTest::mouseClick(main->PageControl1->tabBar(), Qt::LeftButton, Qt::NoModifier,
                    main->PageControl1->tabBar()->tabRect(1).center());
  ASSERT_EQ(main->PageControl1->currentWidget(), main->TabSheet2);
  main->ListBox1->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  ASSERT_TRUE(main->ListBox1->hasFocus());
  EXPECT_EQ(main->uq2->SQL().Text(), tang) << "the focus coming in chooses nothing";
  EXPECT_TRUE(main->ListBox1->selectedItems().isEmpty());

  ChooseDynasty(*main, 2);  // 魏晋
  EXPECT_EQ(main->uq2->SQL().Text(), g("select zz as 魏晋作者 from poet where nd like '%晋%'") + "\r\n");
  EXPECT_EQ(main->uq2->RecordCount(), 1);
  main->uq2->Close();
  ChooseDynasty(*main, 2);
  EXPECT_TRUE(main->uq2->Active()) << "a second click on the chosen entry runs it again";

  QTest::keyClick(main->ListBox1, Qt::Key_Down);
  EXPECT_EQ(main->uq2->SQL().Text(), g("select zz as 南北作者 from poet where nd like '%南北%'") + "\r\n")
      << "an arrow key that moves the choice";
  QTest::keyClick(main->ListBox1, Qt::Key_Up);
  QTest::keyClick(main->ListBox1, Qt::Key_Up);
  QTest::keyClick(main->ListBox1, Qt::Key_Up);
  const AnsiString top = main->uq2->SQL().Text();
  QTest::keyClick(main->ListBox1, Qt::Key_Up);
  EXPECT_EQ(main->uq2->SQL().Text(), top) << "a key that moves nothing runs nothing";
}
