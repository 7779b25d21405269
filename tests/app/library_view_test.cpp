// The person's library through the real window: favourites by key and by menu, the page 我的
// and its lists, the history, a random poem, export and import, and a library that cannot be
// written or cannot be used.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <linux/capability.h>

#include <QApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "app/LibraryStore.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/FileDialogs.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

std::vector<std::string> column(TUniQuery* query, int field) {
  std::vector<std::string> out;
  if (!query->Active()) return out;
  for (query->First(); !query->Eof(); query->Next()) out.push_back(text::ansiToUtf8(query->Fields()[field]->AsString()));
  return out;
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Five poems: 1 静夜思 李白, 2 月下独酌 李白, 3 春晓 孟浩然, 4 水调歌头 苏轼, 5 登鹳雀楼 王之涣.
void fillCollection(const ReaderFolder& folder) {
  folder.execCatalogue({
      g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')"),
      g("insert into sici values (2, '月下独酌', '李白', '唐', '五古', '')"),
      g("insert into sici values (3, '春晓', '孟浩然', '唐', '', '')"),
      g("insert into sici values (4, '水调歌头', '苏轼', '宋', '', '')"),
      g("insert into sici values (5, '登鹳雀楼', '王之涣', '唐', '五绝', '')"),
  });
  folder.execTexts({
      g("insert into sici values (1, '床前明月光', '', '', '')"),
      g("insert into sici values (2, '花间一壶酒', '', '', '')"),
      g("insert into sici values (3, '春眠不觉晓', '', '', '')"),
      g("insert into sici values (4, '明月几时有', '', '', '')"),
      g("insert into sici values (5, '白日依山尽', '', '', '')"),
  });
}

// Root writes where the file modes say no: while this lives the process does not override them,
// as a person's own reader would not.
class WithoutFileOverride {
 public:
  WithoutFileOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    syscall(SYS_capget, &header_, saved_);
    __user_cap_data_struct dropped[2] = {saved_[0], saved_[1]};
    dropped[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    syscall(SYS_capset, &header_, dropped);
  }
  ~WithoutFileOverride() { syscall(SYS_capset, &header_, saved_); }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
};

class MyLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    fillCollection(folder);
    start();
  }
  void TearDown() override { main.reset(); }
  void start() {
    main = StartReader();
    ASSERT_TRUE(main);
  }
  void show(int id) { main->shownr(statements::PoemRow(AnsiString(std::to_string(id)))); }
  void ctrlD() { QTest::keyClick(main.get(), Qt::Key_D, Qt::ControlModifier); }
  std::vector<std::string> favourites() const { return column(main->uq6, 1); }
  std::vector<std::string> history() const { return column(main->uq7, 1); }
  QString status() const { return main->Label4->text(); }
  void clickRow(TDBGridEh* grid, int row) const {
    int col = 0;
    while (grid->CellRect(col, row).isEmpty() && col < 4) ++col;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->CellRect(col, row).center());
  }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(MyLibrary, CtrlDAndTheMenuItemAddAndRemoveTheShownPoem) {
  EXPECT_FALSE(main->N10->isEnabled()) << "without a shown poem";
  ctrlD();
  EXPECT_FALSE(main->c3->Connected()) << "nothing to add, nothing opened";

  show(1);
  EXPECT_TRUE(main->N10->isEnabled());
  EXPECT_EQ(main->N10->text(), QStringLiteral("收藏本诗"));
  ctrlD();
  EXPECT_EQ(status(), QStringLiteral("已收藏：静夜思"));
  EXPECT_EQ(main->PageControl1->currentWidget(), main->TabSheet4) << "the page 我的 shows what happened";
  EXPECT_EQ(favourites(), std::vector<std::string>{"静夜思"});
  EXPECT_EQ(main->N10->text(), QStringLiteral("取消收藏"));

  show(3);
  EXPECT_EQ(main->N10->text(), QStringLiteral("收藏本诗"));
  main->N10->trigger();
  EXPECT_EQ(favourites(), (std::vector<std::string>{"春晓", "静夜思"})) << "newest first";
  EXPECT_EQ(column(main->uq6, 2), (std::vector<std::string>{"孟浩然", "李白"}));
  EXPECT_FALSE(main->DBGridEh5->Columns()[0]->Visible()) << "the number stays out of sight";
  EXPECT_EQ(main->DBGridEh5->Columns()[1]->Title().Caption(), g("作品"));
  EXPECT_EQ(main->DBGridEh5->Columns()[2]->Title().Caption(), g("作者"));

  show(1);
  ctrlD();
  EXPECT_EQ(status(), QStringLiteral("已取消收藏：静夜思"));
  EXPECT_EQ(favourites(), std::vector<std::string>{"春晓"});

  // Kept in the file: a second window finds them.
  main.reset();
  start();
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  EXPECT_EQ(favourites(), std::vector<std::string>{"春晓"});
  EXPECT_FALSE(main->N10->isEnabled());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MyLibrary, EveryPoemShownGoesIntoTheHistoryOnceNewestFirstAndARowShowsItAgain) {
  show(1);
  show(2);
  show(3);
  show(1);
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  EXPECT_EQ(history(), (std::vector<std::string>{"静夜思", "春晓", "月下独酌"}));
  const std::vector<std::string> times = column(main->uq7, 3);
  ASSERT_EQ(times.size(), 3u);
  const QDateTime shown = QDateTime::fromString(QString::fromStdString(times[0]), QStringLiteral("yyyy-MM-dd HH:mm"));
  ASSERT_TRUE(shown.isValid()) << times[0] << ": the local time to the minute";
  EXPECT_LE(std::abs(shown.secsTo(QDateTime::currentDateTime())), 120);
  EXPECT_EQ(main->DBGridEh6->Columns()[3]->Title().Caption(), g("时间"));

  clickRow(main->DBGridEh6, 2);
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("孟浩然 : 春晓"));
  EXPECT_EQ(status(), QStringLiteral("孟浩然 : 春晓"));
  EXPECT_NE(main->rc->toPlainText().indexOf(QStringLiteral("春眠不觉晓")), -1);
  EXPECT_EQ(history().front(), "春晓") << "shown again from the history, it is the newest";

  main->N10->trigger();
  show(5);
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  main->DBGridEh5->setFocus();
  QTest::keyClick(main->DBGridEh5, Qt::Key_Return);
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("孟浩然 : 春晓")) << "Enter on a favourite shows it";

  // At most 500 poems: the oldest go.
  std::vector<std::string> more;
  for (int id = 100; id < 610; ++id) more.push_back(g("insert into sici values (") + std::to_string(id) + g(", '诗") + std::to_string(id) + g("', '某人', '唐', '', '')"));
  folder.execCatalogue(more);
  for (int id = 100; id < 610; ++id) show(id);
  main->PageControl1->setCurrentWidget(main->TabSheet3);
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  const std::vector<std::string> all = history();
  ASSERT_EQ(all.size(), 500u);
  EXPECT_EQ(all.front(), "诗609");
  EXPECT_EQ(all.back(), "诗110");
}

TEST_F(MyLibrary, ClearingTheHistoryAsksFirstAndDoesNothingOnNo) {
  show(1);
  show(2);
  boxes.boxes.clear();
  {
    BoxRecorder no(mrNo);
    main->N14->trigger();
    ASSERT_EQ(no.boxes.size(), 1u);
    EXPECT_EQ(no.boxes[0].text, QStringLiteral("确定清空全部阅读记录吗？"));
    EXPECT_EQ(no.boxes[0].type, TMsgDlgType::mtConfirmation);
  }
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  EXPECT_EQ(history().size(), 2u);
  {
    BoxRecorder yes(mrYes);
    main->N14->trigger();
  }
  EXPECT_TRUE(history().empty());
  EXPECT_EQ(status(), QStringLiteral("阅读记录已清空"));
  EXPECT_TRUE(main->PopupMenu2->actions().contains(main->N14)) << "in the page's own menu";
}

namespace {

// Pearson's statistic of `counts` against the same expectation for each of `cells`.
double chiSquare(const std::map<QString, int>& counts, int cells, int draws) {
  const double expected = static_cast<double>(draws) / cells;
  double sum = (cells - static_cast<int>(counts.size())) * expected;
  for (const auto& [poem, n] : counts) sum += (n - expected) * (n - expected) / expected;
  return sum;
}

}  // namespace

TEST_F(MyLibrary, ARandomPoemIsAnyPoemEquallyLikelyWhateverTheGapsBetweenNumbers) {
  // 30 poems in three runs far apart, and, in a second collection, 10 poems with a gap of a
  // million between two runs of five.
  struct Case {
    std::vector<int> Ids;
    int Draws;
    double Critical;  // chi-square at p = 0.001 for cells - 1 degrees of freedom
  };
  std::vector<int> runs;
  for (int start : {20, 300, 7000})
    for (int i = 0; i < 10; ++i) runs.push_back(start + i);
  const Case cases[] = {{runs, 900, 58.30}, {{10, 11, 12, 13, 14, 1000010, 1000011, 1000012, 1000013, 1000014}, 400, 27.88}};
  for (const Case& c : cases) {
    main.reset();
    folder.execCatalogue({"delete from sici"});
    std::vector<std::string> inserts;
    for (int id : c.Ids) inserts.push_back(g("insert into sici values (") + std::to_string(id) + ", 'p" + std::to_string(id) + g("', '某', '唐', '', '')"));
    folder.execCatalogue(inserts);
    start();
    main->SetRandomSource([engine = std::mt19937_64(20261210)]() mutable { return engine(); });
    std::map<QString, int> counts;
    for (int i = 0; i < c.Draws; ++i) {
      // By the key, by the link in the status line and by the handler itself.
      if (i % 3 == 0)
        QTest::keyClick(main.get(), Qt::Key_F5);
      else if (i % 3 == 1)
        QTest::mouseClick(main->Label8, Qt::LeftButton);
      else
        main->Label8Click();
      ++counts[main->GroupBox2->title()];
    }
    EXPECT_EQ(counts.size(), c.Ids.size()) << "every poem comes up";
    EXPECT_LT(chiSquare(counts, static_cast<int>(c.Ids.size()), c.Draws), c.Critical);
  }
}

TEST_F(MyLibrary, ExportAndImportCarryTheFavouritesToARebuiltCollection) {
  for (int id : {1, 3, 4}) {
    show(id);
    ctrlD();
  }
  const fs::path exported = folder.path() / "export" / "我的收藏.txt";
  fs::create_directories(exported.parent_path());
  std::vector<TFileDialogRequest> requests;
  const auto previous = SetFileDialogPresenter([&](const TFileDialogRequest& request) {
    requests.push_back(request);
    return QString::fromStdString(exported.string());
  });
  main->N11->trigger();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].save);
  EXPECT_TRUE(requests[0].file.endsWith(QStringLiteral("我的收藏.txt")));
  EXPECT_EQ(readFile(exported), "作品\t作者\t编号\n水调歌头\t苏轼\t4\n春晓\t孟浩然\t3\n静夜思\t李白\t1\n");
  EXPECT_EQ(status(), QStringLiteral("已导出3首收藏到 ") + QString::fromStdString(exported.string()));

  // Another machine: its collection was built again, 静夜思 now has another number, 水调歌头 is
  // gone; the file gained a poem this collection lacks and a line a program spoilt.
  main.reset();
  fs::remove_all(folder.dataHome() / "tavrin-sici");
  folder.execCatalogue({"delete from sici where id in (1, 4)", g("insert into sici values (11, '静夜思', '李白', '唐', '', '')")});
  folder.execTexts({g("insert into sici values (11, '床前明月光', '', '', '')")});
  std::ofstream(exported, std::ios::app) << "无题\t无名氏\t999\n静夜思 李白 1\n";
  start();
  main->N12->trigger();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("新增收藏2首，已在收藏中0首。\n2首在本诗词库中找不到：\n水调歌头 / 苏轼\n无题 / 无名氏\n"
                                                "1行无法读取（第6行）。"));
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  EXPECT_EQ(favourites().size(), 2u);
  std::vector<std::string> ids = column(main->uq6, 0);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<std::string>{"11", "3"})) << "静夜思 found by its title and author under its new number";

  // A click on the imported favourite shows the poem of this collection.
  clickRow(main->DBGridEh5, favourites()[0] == "静夜思" ? 1 : 2);
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("李白 : 静夜思"));

  main->N12->trigger();
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_TRUE(boxes.boxes[1].text.startsWith(QStringLiteral("新增收藏0首，已在收藏中2首。"))) << "nothing twice";
  EXPECT_EQ(favourites().size(), 2u);
  SetFileDialogPresenter(previous);
}

TEST_F(MyLibrary, AReadOnlyFolderOrAFullDiskKeepsWhatItHadAndSaysWhyNothingIsSaved) {
  show(1);
  ctrlD();
  main.reset();
  const fs::path library = folder.libraryFile();
  fs::permissions(library.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(library, fs::perms::owner_read);
  {
    const WithoutFileOverride asAPerson;
    start();
    show(3);
    EXPECT_TRUE(status().startsWith(QStringLiteral("阅读记录无法保存："))) << status().toStdString();
    ctrlD();
    EXPECT_TRUE(status().startsWith(QStringLiteral("收藏无法保存："))) << status().toStdString();
    EXPECT_EQ(favourites(), std::vector<std::string>{"静夜思"}) << "what it had stays in sight";
    EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("孟浩然 : 春晓")) << "the reader goes on";
    main.reset();
  }
  fs::permissions(library.parent_path(), fs::perms::owner_all);
  fs::permissions(library, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(boxes.boxes.empty());

  // A full disk: the file may grow no further.
  start();
  show(2);
  const auto previousSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit full = previous;
  full.rlim_cur = 0;
  ::setrlimit(RLIMIT_FSIZE, &full);
  ctrlD();
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, previousSignal);
  EXPECT_TRUE(status().startsWith(QStringLiteral("收藏无法保存："))) << status().toStdString();
  EXPECT_EQ(favourites(), std::vector<std::string>{"静夜思"});
  ctrlD();
  EXPECT_EQ(favourites(), (std::vector<std::string>{"月下独酌", "静夜思"})) << "with room again, it saves";
}

TEST_F(MyLibrary, AnUnusableLibraryIsSetAsideWithOneMessageAndTheReaderStartsAnEmptyOne) {
  main.reset();
  fs::create_directories(folder.libraryFile().parent_path());
  std::ofstream(folder.libraryFile(), std::ios::binary) << std::string(3000, 'x');
  start();
  show(1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("警告"));
  const QString text = boxes.boxes[0].text;
  EXPECT_TRUE(text.contains(QStringLiteral("不是一个数据库"))) << text.toStdString();
  const QString aside = text.section(QLatin1Char('\n'), 1, 1);
  EXPECT_TRUE(aside.startsWith(QString::fromStdString(folder.libraryFile().parent_path().string()) + QStringLiteral("/library-")));
  EXPECT_EQ(readFile(aside.toStdString()), std::string(3000, 'x')) << "the old file, as it was";
  show(2);
  ctrlD();
  EXPECT_EQ(boxes.boxes.size(), 1u) << "told once";
  EXPECT_EQ(favourites(), std::vector<std::string>{"月下独酌"});
}

TEST_F(MyLibrary, TwoReadersAtOnceSeeEachOthersChangesAfterARefresh) {
  show(1);
  ctrlD();
  // A second program writes to the same file while this one has it open.
  std::string program = LIBRARY_WRITER, file = folder.libraryFile().string(), first = "900", count = "3";
  char* argv[] = {program.data(), file.data(), first.data(), count.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, LIBRARY_WRITER, nullptr, nullptr, argv, environ), 0);
  int ended = 0;
  ::waitpid(pid, &ended, 0);
  ASSERT_TRUE(WIFEXITED(ended) && WEXITSTATUS(ended) == 0);
  main->PageControl1->setCurrentWidget(main->TabSheet3);
  main->PageControl1->setCurrentWidget(main->TabSheet4);
  EXPECT_EQ(favourites(), (std::vector<std::string>{"title902", "title901", "title900", "静夜思"}));
  EXPECT_EQ(history().front(), "title902");

  // A favourite of the other program's that this collection lacks says so, and shows nothing.
  clickRow(main->DBGridEh5, 1);
  EXPECT_EQ(status(), QStringLiteral("诗词库中已没有这首诗：title902"));
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("李白 : 静夜思"));
}
