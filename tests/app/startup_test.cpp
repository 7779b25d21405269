#include <gtest/gtest.h>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <QToolButton>

#include "app/Maker.h"
#include "app/Program.h"
#include "app/Unit3.h"
#include "app/sici.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Application.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/Shell.h"
#include "platform/forms/WebBrowser.h"
#include "platform/text/AnsiText.h"
#include "skin/forms/SkinManage.h"
#include "tests/app/app_fixture.h"

namespace {

QStringList entries(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

// Hands activation to another window and back, as closing a box over the main window does.
void reactivate(QWidget* window) {
  QWidget other;
  other.show();
  other.activateWindow();
  waitFor([&] { return QApplication::activeWindow() == &other; });
  window->activateWindow();
  waitFor([&] { return QApplication::activeWindow() == window; });
}

const QString kReadme = QStringLiteral("Tavrin诗词大全 使用说明\r\n床前明月光");

}  // namespace

TEST(MainWindow, HasEveryControlWithItsCaptionsAndVocabularyLists) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main) << "start-up failed";
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Tavrin诗词大全  (104862首诗词)"));

  for (const char* name : {"GroupBox1", "PageControl1", "TabSheet1", "TabSheet2", "TabSheet3", "DBGridEh1", "ListBox1",
                           "DBGridEh2", "DBGridEh3", "DBGridEh4", "Edit1", "GroupBox2", "rc", "GroupBox3", "Label1",
                           "eso", "Button1", "r1", "r2", "r3", "GroupBox4", "cd", "tc", "lb", "zz", "Label2", "Label3",
                           "bt", "SpeedButton1", "PopupMenu1", "N1", "N2", "N3", "N4", "N6", "N7", "N8", "Panel1",
                           "Label4", "Label5", "Label6", "Label7", "TabSheet4", "DBGridEh5", "DBGridEh6", "N10",
                           "PopupMenu2", "N11", "N12", "N13", "N14", "N15", "Label8", "N16", "N17", "N18", "N19"})
    EXPECT_NE(main->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
  for (const char* name : {"c1", "c2", "SQLiteUniProvider1", "uq1", "uq2", "uq3", "uq4", "uq5", "DataSource1",
                           "DataSource2", "DataSource3", "DataSource4", "c3", "uq6", "uq7", "DataSource5", "DataSource6"})
    EXPECT_NE(main->Components().FindComponent(name), nullptr) << name;
  EXPECT_FALSE(main->c3->Connected()) << "the library opens at its first use, not at start-up";
  EXPECT_TRUE(main->uq1->Active()) << "the full list opens with the window";
  EXPECT_TRUE(main->uq4->Active());
  EXPECT_TRUE(main->uq2->Active() && main->uq3->Active()) << "the creation handler opens the dynasty page's lists";
  EXPECT_FALSE(main->uq5->Active());

  EXPECT_EQ(main->PageControl1->tabText(0), QStringLiteral("检索结果"));
  EXPECT_EQ(main->PageControl1->tabText(1), QStringLiteral("按朝代检索"));
  EXPECT_EQ(main->PageControl1->tabText(2), QStringLiteral("浏览全部"));
  EXPECT_EQ(main->PageControl1->tabText(3), QStringLiteral("我的"));
  EXPECT_EQ(main->GroupBox3->title(), QStringLiteral("快速检索"));
  EXPECT_EQ(main->GroupBox4->title(), QStringLiteral("高级搜索"));
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("Tavrin诗词大全"));
  EXPECT_EQ(main->Button1->text(), QStringLiteral("查找"));
  EXPECT_EQ(main->SpeedButton1->text(), QStringLiteral("搜索"));
  EXPECT_EQ(main->Edit1->text(), QStringLiteral("请输入作品名称"));
  EXPECT_EQ(main->zz->text(), QStringLiteral("包含字"));
  EXPECT_EQ(main->bt->text(), QStringLiteral("包含字"));
  EXPECT_EQ(main->eso->text(), QString());
  EXPECT_TRUE(main->r1->isChecked());
  EXPECT_FALSE(main->r2->isChecked() || main->r3->isChecked());
  EXPECT_LT(main->r1->x(), main->r3->x());
  EXPECT_LT(main->r3->x(), main->r2->x()) << "标题, 作者, 内容 from left to right";
  EXPECT_EQ(main->Label5->text(), QStringLiteral("关于Tavrin诗词"));
  EXPECT_EQ(main->Label6->text(), QStringLiteral("官方主页"));
  EXPECT_EQ(main->Label7->text(), kMakerHost);

  const QStringList dynasties = {QStringLiteral("秦"), QStringLiteral("汉"), QStringLiteral("魏晋"), QStringLiteral("南北"),
                                 QStringLiteral("隋"), QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("宋"),
                                 QStringLiteral("辽"), QStringLiteral("金"), QStringLiteral("元"), QStringLiteral("明"),
                                 QStringLiteral("清"), QStringLiteral("近代"), QStringLiteral("现代")};
  QStringList listed;
  for (int i = 0; i < main->ListBox1->count(); ++i) listed << main->ListBox1->item(i)->text();
  EXPECT_EQ(listed, dynasties);
  EXPECT_EQ(main->ListBox1->currentRow(), -1) << "no dynasty is chosen at start";
  EXPECT_EQ(entries(main->cd), QStringList{QStringLiteral("朝代不限")} + dynasties);
  EXPECT_EQ(main->tc->count(), 16);
  EXPECT_EQ(main->tc->itemText(0), QStringLiteral("体裁不限"));
  EXPECT_EQ(main->tc->itemText(15), QStringLiteral("六古"));
  EXPECT_EQ(main->lb->count(), 28);
  EXPECT_EQ(main->lb->itemText(13), QStringLiteral("论人生"));
  EXPECT_EQ(main->lb->itemText(27), QStringLiteral("抒怀"));
  for (const QComboBox* box : {main->cd, main->tc, main->lb}) {
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_FALSE(box->isEditable());
  }

  QStringList menu;
  for (const QAction* action : main->PopupMenu1->actions()) menu << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(menu, (QStringList{QStringLiteral("复制"), QStringLiteral("全选"), QStringLiteral("查诗词"), QStringLiteral("-"),
                               QStringLiteral("复制全诗词"), QStringLiteral("显示拼音"), QStringLiteral("收藏本诗"),
                               QStringLiteral("繁体"), QStringLiteral("竖排"), QStringLiteral("打印…"),
                               QStringLiteral("保存为图片…"), QStringLiteral("-"), QStringLiteral("关于")}));
  EXPECT_EQ(main->rc->palette().color(QPalette::Base), QColor(240, 251, 255));
  EXPECT_TRUE(main->rc->isReadOnly());
  EXPECT_EQ(main->DBGridEh4->Options() & (dgRowSelect | dgTitles | dgEditing | dgIndicator), dgRowSelect | dgTitles);
  EXPECT_TRUE(main->c1->Connected());
  EXPECT_TRUE(main->c2->Connected());
}

TEST(MainWindow, AnchorsFollowTheWindowSize) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main);
  const QRect poem = main->GroupBox2->geometry(), lists = main->GroupBox1->geometry(), advanced = main->GroupBox4->geometry();
  main->resize(main->width() + 100, main->height() + 50);
  waitFor([&] { return main->GroupBox2->width() == poem.width() + 100; });
  EXPECT_EQ(main->GroupBox2->geometry(), poem.adjusted(0, 0, 100, 50));
  EXPECT_EQ(main->GroupBox1->geometry(), lists.adjusted(0, 0, 0, 50));
  EXPECT_EQ(main->GroupBox4->geometry(), advanced.adjusted(0, 0, 100, 0));
  EXPECT_EQ(main->Panel1->geometry().bottom(), main->contentsRect().bottom()) << "down to the skin's frame";
}

TEST(MainWindow, ShowsTheReadmeWheneverItBecomesActive) {
  ReaderFolder folder;
  folder.write("readme.txt", text::wideToAnsi(kReadme.toStdU16String()));
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return main->rc->toPlainText() == QStringLiteral("Tavrin诗词大全 使用说明\n床前明月光"); }))
      << main->rc->toPlainText().toStdString();

  main->rc->setPlainText(QStringLiteral("静夜思"));
  QTimer::singleShot(100, [] { Form3->Button1Click(); });
  main->Label5Click();  // the About window, modal until 返回
  EXPECT_FALSE(Form3->isVisible());
  EXPECT_TRUE(waitFor([&] { return main->rc->toPlainText().startsWith(QStringLiteral("Tavrin诗词大全")); }))
      << "closing the About window reloads the read-me";
}

TEST(MainWindow, TheShippedReadmeLetsTheViewWrapEachParagraph) {
  ReaderFolder folder;
  std::ifstream shipped(SICI_SHIPPED_README, std::ios::binary);
  folder.write("readme.txt", std::string(std::istreambuf_iterator<char>(shipped), {}));
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return main->rc->toPlainText().startsWith(QStringLiteral("Tavrin诗词大全")); }));
  // A line of the file is a paragraph of the view: none may stop inside a sentence.
  const QStringList paragraphs = main->rc->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GT(paragraphs.size(), 10);
  for (const QString& paragraph : paragraphs)
    for (const QString& pause : {QStringLiteral("，"), QStringLiteral("、"), QStringLiteral("；"), QStringLiteral("：")})
      EXPECT_FALSE(paragraph.endsWith(pause)) << paragraph.toStdString();
  EXPECT_TRUE(paragraphs.contains(QStringLiteral("本程序收录历代诗词十万余首：先秦的《诗经》《楚辞》，唐诗，五代词，宋诗宋词，"
                                                 "元曲，以及清代纳兰性德的词。每首诗词都可以查看原文、注释、译文、赏析和作者小传。")));
}

TEST(MainWindow, ReadmeIsOptionalAndMayBeRichText) {
  ReaderFolder folder;
  BoxRecorder boxes;
  {
    const auto main = StartReader();
    ASSERT_TRUE(main);
    main->rc->setPlainText(QStringLiteral("x"));
    reactivate(main.get());
    EXPECT_TRUE(waitFor([&] { return main->rc->toPlainText().isEmpty(); })) << "no readme.txt: an empty view";
  }
  folder.write("readme.txt", "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 SimSun;}}\\f0 \\'b4\\'b2\\'c7\\'b0\\par Tavrin}");
  const auto main = StartReader();
  ASSERT_TRUE(main);
  EXPECT_TRUE(waitFor([&] { return main->rc->toPlainText() == QStringLiteral("床前\nTavrin"); }))
      << main->rc->toPlainText().toStdString();
}

TEST(StartUp, AFileThatCannotBeOpenedEndsWithTheErrorBoxAndAFailureStatus) {
  ReaderFolder folder(false);
  std::filesystem::create_directory(folder.path() / "sici.idb");
  BoxRecorder boxes;
  Application->SetTitle("Tavrin诗词大全"_gbk);
  char name[] = "sici";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(RunProgram(*Application, 1, argv), EXIT_FAILURE);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Tavrin诗词大全"));
  EXPECT_EQ(boxes.boxes[0].type, TMsgDlgType::mtError);
  EXPECT_FALSE(boxes.boxes[0].text.isEmpty());
  EXPECT_EQ(fsici, nullptr);
}

TEST(StartUp, TheErrorBoxOfAFailedStartIsDrawnFromTheSkin) {
  ReaderFolder folder(false);
  std::filesystem::create_directory(folder.path() / "sici.idb");
  bool shown = false, skinned = false;
  QTimer::singleShot(0, [&] {
    waitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; });
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = true;
    skinned = waitFor([box] { return TSkinManage::Instance() && TSkinManage::Instance()->SkinnerOf(box) != nullptr; });
    box->accept();
  });
  char name[] = "sici";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(RunProgram(*Application, 1, argv), EXIT_FAILURE);
  ASSERT_TRUE(shown);
  EXPECT_TRUE(skinned) << "the skin loads before the connections open";
}

TEST(StartUp, MissingDatabaseFilesAreCreatedEmptyAndTheFirstListFails) {
  ReaderFolder folder(false);
  BoxRecorder boxes;
  EXPECT_FALSE(StartReader()) << "the full list has no table to read";
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "sici.idb")) << "opening created the file";
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("no such table: sici"));
  EXPECT_EQ(fsici, nullptr);
}

TEST(StartUp, ACatalogueDeclaringImpossibleLengthsOpensWithEveryTitleWhole) {
  ReaderFolder folder;
  const std::string title(5000, 'x');
  folder.execCatalogue({"drop table sici",
                        "create table sici(id integer primary key, tm varchar(-1), zz char(99999999999), "
                        "nd varchar(0), tc decimal(40,-3), lb binary(-3))",
                        "insert into sici values (1, '" + title + "', '" + std::string(300, 'y') + "', 'a', 'b', 'c')"});
  BoxRecorder boxes;
  const auto main = StartReader();
  ASSERT_TRUE(main) << (boxes.boxes.empty() ? std::string() : boxes.boxes[0].text.toStdString());
  ASSERT_EQ(main->uq1->RecordCount(), 1);
  // An impossible length counts as none: a bare VARCHAR, which keeps 4095 bytes.
  const AnsiString read = main->uq1->Fields()[1]->AsString();
  EXPECT_EQ(read.size(), 4095u);
  EXPECT_TRUE(read == title.substr(0, 4095));
  EXPECT_TRUE(main->uq1->Fields()[2]->AsString() == std::string(300, 'y'));
}

TEST(AboutWindow, DescribesTheCollectionAndKeepsRightClicksOffItsWebPage) {
  ReaderFolder folder;
  BoxRecorder boxes;
  std::vector<QString> opened;
  const TShellOpener previous = SetShellOpener([&](const QString& address) { opened.push_back(address); });
  const auto main = StartReader();
  ASSERT_TRUE(main);
  EXPECT_EQ(Form3->windowTitle(), QStringLiteral("Tavrin诗词大全"));
  EXPECT_EQ(Form3->contentsRect().size(), QSize(576, 462)) << "inside the skin's frame";
  EXPECT_TRUE(Form3->Label1->text().startsWith(QStringLiteral("诗词大全Tavrin版为绿色免费软件，收录诗词104862首,")));
  EXPECT_EQ(Form3->Label2->text(), QStringLiteral("官方主页: ") + kMakerHost + QStringLiteral(" "));
  EXPECT_EQ(Form3->Button1->text(), QStringLiteral("返回"));
  EXPECT_EQ(Form3->WebBrowser1->LocationURL().toString(), kStatisticsPage);
  EXPECT_TRUE(waitFor([] { return Form3->WebBrowser1->ShowsErrorPage(); })) << "the site cannot be had: an error page";

  static_cast<TForm*>(Form3)->show();
  QWidget* page = Form3->WebBrowser1->viewport();
  const QPointF at(10, 10);
  QMouseEvent rightPress(QEvent::MouseButtonPress, at, page->mapToGlobal(at), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QMouseEvent leftPress(QEvent::MouseButtonPress, at, page->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), page->mapToGlobal(QPoint(10, 10)));
  EXPECT_TRUE(QApplication::sendEvent(page, &rightPress)) << "a right-click inside the page is swallowed";
  QApplication::sendEvent(page, &menu);
  waitFor([] { return QApplication::activePopupWidget() != nullptr; });
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the page's own menu never opens";
  QContextMenuEvent poemMenu(QContextMenuEvent::Mouse, QPoint(10, 10), main->rc->viewport()->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(main->rc->viewport(), &poemMenu);
  EXPECT_TRUE(waitFor([&] { return main->PopupMenu1->isVisible(); })) << "the poem view keeps its popup menu";
  main->PopupMenu1->hide();
  QApplication::sendEvent(page, &leftPress);

  Form3->Label3Click();
  main->Label6Click();
  EXPECT_EQ(opened, (std::vector<QString>{kHomePage, kHomePage}));
  Form3->hide();
  SetShellOpener(previous);
}
