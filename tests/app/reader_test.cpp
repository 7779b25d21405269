// The reader as a person uses it, over a small collection: the lists it opens with, the
// searches and their messages, a poem shown with its sections and marked word, the text
// menu and the first start.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QImage>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTest>
#include <QTextEdit>

#include <dlfcn.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "app/Program.h"
#include "app/sici.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Application.h"
#include "platform/forms/HideSelection.h"
#include "platform/forms/ListBox.h"
#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"
#include "tests/app/app_fixture.h"
#include "tests/app/statement_trace.h"

namespace {

namespace fs = std::filesystem;

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

// Five poems: 1 静夜思 by 李白 with every section, 2 月下独酌 by 李白, 3 春晓 by 孟浩然,
// 4 水调歌头 by 苏轼 (宋), 5 登鹳雀楼 by 王之涣 without a text row.
void fillCollection(const ReaderFolder& folder) {
  folder.execCatalogue({
      g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '羁旅')"),
      g("insert into sici values (2, '月下独酌', '李白', '唐', '五古', '')"),
      g("insert into sici values (3, '春晓', '孟浩然', '唐', '', '')"),
      g("insert into sici values (4, '水调歌头', '苏轼', '宋', '', '')"),
      g("insert into sici values (5, '登鹳雀楼', '王之涣', '唐', '五绝', '')"),
      g("insert into poet values ('李白', '唐', '字太白')"),
      g("insert into poet values ('孟浩然', '唐', '   ')"),
      g("insert into poet values ('苏轼', '北宋', '')"),
      g("insert into poet values ('嵇康', '魏晋', '')"),
  });
  folder.execTexts({
      g("insert into sici values (1, '床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。', '“明月”—月亮', '', '思乡之作')"),
      g("insert into sici values (2, '花间一壶酒，独酌无相亲。\n举杯邀明月，对影成三人。', '', '', '')"),
      g("insert into sici values (3, '春眠不觉晓，处处闻啼鸟。', '', '', '')"),
      g("insert into sici values (4, '明月几时有？把酒问青天。', '', '', '')"),
  });
}

AnsiString sqlOf(TUniQuery* query) { return query->SQL().Text(); }

std::vector<AnsiString> column(TUniQuery* query, int field) {
  std::vector<AnsiString> out;
  for (query->First(); !query->Eof(); query->Next()) out.push_back(query->Fields()[field]->AsString());
  return out;
}

class Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    fillCollection(folder);
    main = StartReader();
    ASSERT_TRUE(main);
    SearchWord.clear();
  }
  void TearDown() override { main.reset(); }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(Reader, OpensOnTheDynastyPageWithTheTangPoetsAndTheNumberColumnsHidden) {
  EXPECT_EQ(main->PageControl1->currentIndex(), 1);
  EXPECT_EQ(sqlOf(main->uq2), g("select zz as 作者 from poet where nd like '%唐%'") + "\r\n");
  EXPECT_EQ(column(main->uq2, 0), (std::vector<AnsiString>{g("李白"), g("孟浩然")}));
  EXPECT_EQ(main->DBGridEh2->Columns()[0]->Title().Caption(), g("作者"));
  EXPECT_EQ(main->DBGridEh2->Columns()[0]->Width(), 155);
  EXPECT_EQ(sqlOf(main->uq3), g("select id,tm as 作品 from sici where zz ='楚嵩'") + "\r\n");
  EXPECT_FALSE(main->DBGridEh3->Columns()[0]->Visible());
  EXPECT_FALSE(main->DBGridEh4->Columns()[0]->Visible());
  EXPECT_TRUE(main->DBGridEh1->Columns()[0]->Visible()) << "until the person picks a page";
  EXPECT_EQ(main->DBGridEh1->Columns()[1]->Width(), 155);
  EXPECT_EQ(main->DBGridEh1->Columns()[2]->Width(), 55);
  EXPECT_EQ(main->uq4->RecordCount(), 5) << "every poem before the first search";
  EXPECT_TRUE(boxes.boxes.empty());

  main->PageControl1->setCurrentIndex(2);  // as a click on the tab does
  EXPECT_FALSE(main->DBGridEh1->Columns()[0]->Visible());
}

TEST_F(Reader, AQuickSearchTrimsItsInputAndFillsTheResultPage) {
  main->eso->setText(QStringLiteral("  静夜 "));
  SearchWord = g("旧");
  main->Button1Click();
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '%静夜%'") + "\r\n");
  EXPECT_EQ(column(main->uq4, 1), std::vector<AnsiString>{g("静夜思")});
  EXPECT_EQ(main->PageControl1->currentIndex(), 0);
  EXPECT_TRUE(SearchWord.empty());
  EXPECT_EQ(main->DBGridEh4->Columns()[1]->Width(), 155);
  EXPECT_FALSE(main->DBGridEh4->Columns()[0]->Visible());

  main->r3->setChecked(true);
  main->eso->setText(QStringLiteral("李"));
  main->Button1Click();
  EXPECT_EQ(column(main->uq4, 1), (std::vector<AnsiString>{g("静夜思"), g("月下独酌")}));

  main->eso->setText(QStringLiteral("杜甫"));
  main->Button1Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(main->uq4->RecordCount(), 0) << "the emptied list stays";

  main->eso->setText(QStringLiteral("   "));
  main->Button1Click();
  EXPECT_EQ(boxes.boxes.back().text, QStringLiteral("请输入要查询的内容?"));
}

TEST_F(Reader, AContentSearchNeedsTwoCharactersAndListsThePoemsThroughTheScratchTable) {
  main->r2->setChecked(true);
  main->eso->setText(QStringLiteral("月"));
  QTest::keyClick(main->eso, Qt::Key_Return);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("查内容至少要输入两个汉字！"));
  EXPECT_TRUE(SearchWord.empty());

  main->eso->setText(QStringLiteral("明月"));
  main->Button1Click();
  EXPECT_EQ(SearchWord, g("明月"));
  EXPECT_EQ(sqlOf(main->uq4), g("select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id") + "\r\n");
  EXPECT_EQ(column(main->uq4, 0), (std::vector<AnsiString>{"1", "2", "4"}));
  EXPECT_EQ(sqlOf(main->uq5), "replace INTO tmpid(id) VALUES (4);\r\n");

  main->eso->setText(QStringLiteral("黄河"));
  main->Button1Click();
  EXPECT_EQ(boxes.boxes.back().text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));
  EXPECT_EQ(SearchWord, g("黄河")) << "set even when nothing is found";
  EXPECT_EQ(main->uq4->RecordCount(), 3) << "the last results stay";
}

TEST_F(Reader, APoemShowsEverySectionInOrderWithTheSearchWordInRed) {
  SearchWord = g("明月");
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
  const QString expected = QStringLiteral(
      "【标题】：静夜思\n【作者】：李白\n【朝代】：唐\n【体裁】：五绝\n【类别】：羁旅\n\n"
      "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。\n\n【注释】\n\"明月\"- 月亮\n\n【赏析】\n思乡之作\n\n"
      "【作者小传】字太白");
  EXPECT_EQ(main->rc->toPlainText(), expected);
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("李白 : 静夜思"));
  EXPECT_EQ(main->Label4->text(), QStringLiteral("李白 : 静夜思"));
  const QColor first = main->Label4->palette().color(QPalette::WindowText);

  // Every occurrence of the word is red, and only those.
  int red = 0;
  for (QTextBlock block = main->rc->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0)) red += static_cast<int>(it.fragment().text().count(QStringLiteral("明月")));
  EXPECT_EQ(red, 3);

  const QColor navy(0, 0, 128), scarlet(255, 0, 0);
  EXPECT_TRUE(first == navy || first == scarlet) << first.name().toStdString();
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
  EXPECT_EQ(main->Label4->palette().color(QPalette::WindowText), first == navy ? scarlet : navy) << "navy and red alternate";
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
  EXPECT_EQ(main->Label4->palette().color(QPalette::WindowText), first);

  SearchWord.clear();
  main->shownr(g("SELECT * FROM sici where id='3' limit 1"));
  EXPECT_EQ(main->rc->toPlainText(), QStringLiteral("【标题】：春晓\n【作者】：孟浩然\n【朝代】：唐\n\n春眠不觉晓，处处闻啼鸟。"))
      << "blank genre, category, sections and a blank biography are left out";

  main->shownr(g("SELECT * FROM sici where id='5' limit 1"));
  EXPECT_EQ(main->rc->toPlainText(), QStringLiteral("SELECT * FROM sici where id='5' limit 1")) << "no text row";
  EXPECT_EQ(main->Label4->text(), QStringLiteral("王之涣 : 登鹳雀楼"));

  main->shownr(g("SELECT * FROM sici where id='99' limit 1"));
  EXPECT_EQ(main->Label4->text(), QStringLiteral("王之涣 : 登鹳雀楼")) << "no row: nothing changes";
}

TEST_F(Reader, AClickOnAPoemInAListShowsIt) {
  ChooseDynasty(*main, 0);  // 秦: no poets
  ChooseDynasty(*main, 2);  // 魏晋
  EXPECT_EQ(sqlOf(main->uq2), g("select zz as 魏晋作者 from poet where nd like '%晋%'") + "\r\n");
  EXPECT_EQ(main->DBGridEh2->Columns()[0]->Title().Caption(), g("魏晋作者"));
  ChooseDynasty(*main, 5);  // 唐
  QApplication::processEvents();
  main->DBGridEh2->setFocus();
  main->uq2->First();
  main->DBGridEh2CellClick(*main->DBGridEh2->Columns()[0]);
  EXPECT_EQ(sqlOf(main->uq3), g("select id,tm as 李白作品 from sici where zz ='李白'") + "\r\n");
  EXPECT_EQ(main->DBGridEh3->Columns()[1]->Title().Caption(), g("李白作品"));
  EXPECT_FALSE(main->DBGridEh3->Columns()[0]->Visible());
  main->uq3->Next();
  main->DBGridEh3CellClick(*main->DBGridEh3->Columns()[1]);
  EXPECT_EQ(main->Label4->text(), QStringLiteral("李白 : 月下独酌"));
}

TEST_F(Reader, TheAdvancedSearchJoinsTheChosenClausesInItsOwnOrder) {
  main->SpeedButton1Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("请设置要搜索的内容?"));

  main->zz->setText(QStringLiteral(" 李白 "));
  main->SpeedButton1Click();
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where 1=1  and zz like '%李白%'") + "\r\n");
  EXPECT_EQ(SearchWord, g("李白"));

  main->zz->setText(QStringLiteral("包含字"));
  main->cd->setCurrentIndex(7);  // 五代
  main->tc->setCurrentIndex(1);  // 五律
  main->lb->setCurrentIndex(9);  // 送别
  main->bt->setText(QStringLiteral("月"));
  main->SpeedButton1Click();
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where 1=1  and tc like '五律%' and lb ='送别' "
                                "and nd like '%五%' and tm like '%月%'") + "\r\n");
  EXPECT_EQ(SearchWord, g("月"));
}

TEST_F(Reader, TheTitleFilterSearchesOnlyOnceAChineseCharacterIsTyped) {
  main->Edit1Click();
  EXPECT_TRUE(main->Edit1->text().isEmpty()) << "the prompt goes on a click";
  const AnsiString before = sqlOf(main->uq4);
  main->Edit1->setText(QStringLiteral("12"));
  EXPECT_EQ(sqlOf(main->uq4), before) << "neither Chinese nor pinyin";
  main->Edit1->setText(QStringLiteral("春"));
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '春%'") + "\r\n");
  main->Edit1->setText(QStringLiteral("夏"));
  EXPECT_EQ(main->uq4->RecordCount(), 0);
  EXPECT_TRUE(boxes.boxes.empty()) << "the filter empties the list silently";

  main->Edit1->setText(QStringLiteral("春"));
  const AnsiString spring = sqlOf(main->uq4);
  ASSERT_EQ(main->uq4->RecordCount(), 1);
  // An extension B character, a Latin letter with an accented one, a Thai letter: none has a
  // code page 936 form.
  for (const QString& typed : {QStringLiteral("\U00020000"), QStringLiteral("a\u0175"), QStringLiteral("\u0e01")}) {
    main->Edit1->setText(typed);
    EXPECT_EQ(sqlOf(main->uq4), spring) << typed.toStdString() << ": a character without a code page 936 form";
    EXPECT_EQ(main->uq4->RecordCount(), 1) << typed.toStdString() << ": the list stays";
  }
}

TEST_F(Reader, TheTextMenuCopiesAndSearchesTheSelection) {
  main->rc->setPlainText(QStringLiteral("床前明月光\n疑是地上霜"));
  QTextCursor cursor = main->rc->textCursor();
  cursor.setPosition(2);
  cursor.setPosition(4, QTextCursor::KeepAnchor);
  main->rc->setTextCursor(cursor);
  main->N6Click();
  EXPECT_EQ(main->eso->text(), QStringLiteral("明月"));
  main->N1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("明月"));
  main->N4Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("床前明月光\r\n疑是地上霜\r\n数据来源：Tavrin诗词大全"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("已经成功复制到剪贴板！发给你的好友吧"));
  EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("提示"));
  main->rc->clear();
  main->N1Click();
  EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
}

TEST(FirstRun, TheQuestionComesOnceAndTheMarkerHoldsOk) {
  ReaderFolder folder(true, true);
  {
    BoxRecorder boxes(mrNo);
    auto main = StartReader();
    ASSERT_TRUE(main);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("初次运行Tavrin诗词大全,是否生成桌面快捷方式?"));
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("确认"));
  }
  std::ifstream marker(folder.path() / "ado.dll", std::ios::binary);
  std::stringstream bytes;
  bytes << marker.rdbuf();
  EXPECT_EQ(bytes.str(), "ok");
  BoxRecorder again;
  auto main = StartReader();
  ASSERT_TRUE(main);
  EXPECT_TRUE(again.boxes.empty());
}

TEST(FirstRun, YesPutsALinkOnTheDesktopThatStartsTheReaderInItsFolder) {
  ReaderFolder folder(true, true);
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(folder.path().string()));
  fs::create_directory(folder.path() / "Desktop");
  {
    BoxRecorder boxes(mrYes);
    auto main = StartReader();
    ASSERT_TRUE(main);
  }
  qputenv("HOME", home);
  const fs::path link = folder.path() / "Desktop" / "Tavrin诗词大全.desktop";
  ASSERT_TRUE(fs::exists(link));
  std::ifstream in(link);
  std::stringstream entry;
  entry << in.rdbuf();
  const std::string exe = QApplication::applicationFilePath().toStdString();
  EXPECT_NE(entry.str().find("Exec=" + exe + "\n"), std::string::npos) << entry.str();
  EXPECT_NE(entry.str().find("Path=" + fs::path(exe).parent_path().string() + "/\n"), std::string::npos);
  EXPECT_NE(entry.str().find("Name=Tavrin诗词大全\n"), std::string::npos);
}

TEST(FirstRun, CreateShortcutRefusesMissingTargetsAndFoldersAndNamesTheLinkAfterTheTarget) {
  ReaderFolder folder;
  BoxRecorder boxes;
  auto main = StartReader();
  ASSERT_TRUE(main);
  const std::string dir = folder.path().string();
  std::ofstream(folder.path() / "reader.exe") << "x";
  EXPECT_FALSE(main->CreateShortcut(dir + "/missing.exe", "x", dir, -1));
  EXPECT_FALSE(main->CreateShortcut(dir + "/reader.exe", "x", dir + "/nowhere", -1));
  EXPECT_TRUE(main->CreateShortcut(dir + "/reader.exe", "", dir + "/", -1)) << "a trailing separator is dropped";
  EXPECT_TRUE(fs::exists(folder.path() / "reader.desktop"));
}

TEST_F(Reader, QuotesInTheInputAreSearchedForLiterally) {
  folder.execCatalogue({g("insert into sici values (6, '将进酒''', '李白', '唐', '', '')")});
  main->r3->setChecked(true);
  main->eso->setText(QStringLiteral("李白' or '1'='1"));
  main->Button1Click();
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where zz like '%李白'' or ''1''=''1%'") + "\r\n");
  EXPECT_EQ(main->uq4->RecordCount(), 0) << "not every poem";
  EXPECT_EQ(boxes.boxes.back().text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));

  main->r1->setChecked(true);
  main->eso->setText(QStringLiteral("'"));
  main->Button1Click();
  EXPECT_EQ(column(main->uq4, 1), std::vector<AnsiString>{g("将进酒'")});
  main->uq4->First();
  main->DBGridEh4CellClick(*main->DBGridEh4->Columns()[1]);
  EXPECT_EQ(main->Label4->text(), QStringLiteral("李白 : 将进酒'"));

  main->zz->setText(QStringLiteral("'"));
  main->SpeedButton1Click();
  EXPECT_EQ(main->uq4->RecordCount(), 0);
}

TEST_F(Reader, ACharacterWithoutACodePage936FormFindsNothing) {
  main->eso->setText(QStringLiteral("静😀"));
  main->Button1Click();
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '%静") + "\x80%'\r\n")
      << "the character becomes a byte no text holds, not a ? that LIKE would take for a letter";
  EXPECT_EQ(main->uq4->RecordCount(), 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));
  main->eso->setText(QStringLiteral("😀"));
  main->Button1Click();
  EXPECT_EQ(boxes.boxes.size(), 2u) << "not an empty input: it is searched and finds nothing";
  EXPECT_EQ(main->uq4->RecordCount(), 0);
}

TEST_F(Reader, AContentSearchThatFailsPartWayLeavesTheScratchTableAsItWas) {
  main->r2->setChecked(true);
  main->eso->setText(QStringLiteral("明月"));
  main->Button1Click();
  ASSERT_EQ(main->uq4->RecordCount(), 3);
  // The next search's rows cannot all be written: its only poem, 3, is refused.
  folder.execCatalogue({"create table keep as select id from tmpid", "drop table tmpid",
                        "create table tmpid(id integer primary key check (id <> 3))",
                        "insert into tmpid select id from keep", "drop table keep"});
  main->eso->setText(QStringLiteral("春眠"));
  {
    const StatementTrace sent(*main->c1);
    EXPECT_THROW(main->Button1Click(), std::exception);
    EXPECT_EQ(sent.statements, (std::vector<std::string>{"BEGIN DEFERRED", "delete from tmpid;",
                                                         "replace INTO tmpid(id) VALUES (3);", "ROLLBACK"}))
        << "the scratch list is replaced inside one transaction";
  }
  TUniQuery scratch(nullptr);
  scratch.SetConnection(main->c1);
  scratch.SQL().Add("select id from tmpid order by id");
  scratch.Open();
  EXPECT_EQ(column(&scratch, 0), (std::vector<AnsiString>{"1", "2", "4"})) << "exactly as before the failed search";
  main->eso->setText(QStringLiteral("月光"));  // poem 1 only
  main->Button1Click();
  EXPECT_EQ(column(main->uq4, 0), std::vector<AnsiString>{"1"});
}

TEST_F(Reader, MarkingFindsLatinLettersOfEitherCaseAndKeepsTheText) {
  main->rc->setPlainText(QStringLiteral("Tavrin tavrin TAVRIN tav"));
  main->RearchAndReplace("tavrin", "tavrin");
  EXPECT_EQ(main->rc->toPlainText(), QStringLiteral("Tavrin tavrin TAVRIN tav")) << "the text stays as it was";
  QString red;
  for (auto it = main->rc->document()->begin().begin(); !it.atEnd(); ++it)
    if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0)) red += it.fragment().text();
  EXPECT_EQ(red, QStringLiteral("TavrintavrinTAVRIN"));
  EXPECT_EQ(SelectedText(*main->rc), QStringLiteral("TAVRIN")) << "the last occurrence stays selected";
}

TEST_F(Reader, TheLastMarkedWordIsRedWhileTheViewHasNoFocusAndItsSelectionReturnsWithTheFocus) {
  main->eso->setFocus();
  ASSERT_TRUE(waitFor([&] { return main->eso->hasFocus(); }));
  SearchWord = g("疑是");  // once in the poem: its only occurrence is the last one
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
  const QImage image = main->rc->viewport()->grab().toImage();
  const QColor selection = main->rc->palette().color(QPalette::Inactive, QPalette::Highlight);
  int red = 0, selected = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
      selected += c == selection;
    }
  EXPECT_GT(red, 20) << "the word is drawn in red";
  EXPECT_EQ(selected, 0) << "no selection drawn over it";

  main->rc->setFocus();
  ASSERT_TRUE(waitFor([&] { return main->rc->hasFocus(); }));
  EXPECT_EQ(main->rc->textCursor().selectedText(), QStringLiteral("疑是")) << "the selection shows with the focus";
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(main->rc, &popup);
  EXPECT_EQ(main->rc->textCursor().selectedText(), QStringLiteral("疑是")) << "a popup menu works on the selection";
  main->eso->setFocus();
  ASSERT_TRUE(waitFor([&] { return !main->rc->hasFocus(); }));
  EXPECT_FALSE(main->rc->textCursor().hasSelection());
  EXPECT_EQ(SelectedText(*main->rc), QStringLiteral("疑是")) << "hidden, it is still the selection";
  main->rc->setFocus();
  ASSERT_TRUE(waitFor([&] { return main->rc->hasFocus(); }));
  EXPECT_EQ(main->rc->textCursor().selectedText(), QStringLiteral("疑是"));
}

TEST_F(Reader, ASearchWithoutResultsLeavesThePageWhereItWasAndOneWithResultsShowsTheList) {
  main->PageControl1->setCurrentIndex(1);
  main->eso->setText(QStringLiteral("黄河"));
  main->Button1Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(main->PageControl1->currentIndex(), 1) << "nothing found: the page stays";
  main->PageControl1->setCurrentIndex(2);
  main->Edit1->setText(QStringLiteral("夏"));
  EXPECT_EQ(main->PageControl1->currentIndex(), 2) << "the silent title filter neither";
  EXPECT_EQ(boxes.boxes.size(), 1u);
  main->eso->setText(QStringLiteral("月"));
  main->Button1Click();
  EXPECT_EQ(main->PageControl1->currentIndex(), 0) << "found: the result list shows";
}

TEST_F(Reader, TheQuickSearchByTitleOrAuthorAndTheTitleFilterClearTheSearchWordAndNothingElseDoes) {
  const auto after = [&](const std::function<void()>& action) {
    SearchWord = g("明月");
    action();
    return SearchWord;
  };
  main->eso->setText(QStringLiteral("月"));
  EXPECT_EQ(after([&] { main->Button1Click(); }), "") << "by title";
  main->r3->setChecked(true);
  EXPECT_EQ(after([&] { main->Button1Click(); }), "") << "by author, found or not";
  EXPECT_EQ(after([&] { main->Edit1->setText(QStringLiteral("ab")); }), "") << "any change of the title filter";
  main->r2->setChecked(true);
  EXPECT_EQ(after([&] { main->Button1Click(); }), g("明月")) << "content input too short";
  main->eso->clear();
  EXPECT_EQ(after([&] { main->Button1Click(); }), g("明月")) << "empty input";
  EXPECT_EQ(after([&] { ChooseDynasty(*main, 5); }), g("明月")) << "a dynasty click";
}
