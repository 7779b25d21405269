// Searching titles and authors by pinyin through the real window: every form of pinyin input in
// the quick search (标题, 作者) and in the title filter lists the poems it spells without sending
// the described LIKE statements, and input with a Chinese character or a digit still sends them
// byte for byte.

#include <gtest/gtest.h>

#include <algorithm>

#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "app/Statements.h"
#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"
#include "tests/app/statement_trace.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

std::vector<std::string> listed(TUniQuery* query) {
  std::vector<std::string> out;
  for (query->First(); !query->Eof(); query->Next()) out.push_back(text::ansiToUtf8(query->Fields()[1]->AsString()));
  return out;
}

// Whether a statement that reached SQLite searches titles or authors with LIKE.
bool likeSearch(const std::vector<std::string>& statements) {
  for (const std::string& s : statements)
    if (s.find("tm like") != std::string::npos || s.find("zz like") != std::string::npos) return true;
  return false;
}

class PinyinSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The syllables as the builder stores them beside each poem.
    folder.execCatalogue({
        g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')"),
        g("insert into sici values (2, '月下独酌', '李白', '唐', '五古', '')"),
        g("insert into sici values (3, '春晓', '孟浩然', '唐', '', '')"),
        g("insert into sici values (4, '静女', '佚名', '先秦', '', '')"),
        g("insert into sici values (5, '夜思', '李商隐', '唐', '', '')"),
        "insert into pinyin values (1, 'jing ye si', 'li bai')",
        "insert into pinyin values (2, 'yue xia du zhuo', 'li bai')",
        "insert into pinyin values (3, 'chun xiao', 'meng hao ran')",
        "insert into pinyin values (4, 'jing nv', 'yi ming')",
        "insert into pinyin values (5, 'ye si', 'li shang yin')",
    });
    main = StartReader();
    ASSERT_TRUE(main);
  }

  std::vector<std::string> quick(QRadioButton* by, const QString& typed) {
    by->setChecked(true);
    main->eso->setText(typed);
    StatementTrace trace(*main->c1);
    main->Button1Click();
    sent = trace.statements;
    return listed(main->uq4);
  }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
  std::vector<std::string> sent;
};

}  // namespace

TEST_F(PinyinSearchTest, EveryFormOfATitleInPinyinFindsItWithoutALikeStatement) {
  for (const QString& typed : {QStringLiteral("jingyesi"), QStringLiteral("jing ye si"), QStringLiteral("JYS"),
                               QStringLiteral("jys"), QStringLiteral("jingys"), QStringLiteral("jing'ye'si")}) {
    SCOPED_TRACE(typed.toStdString());
    EXPECT_EQ(quick(main->r1, typed), std::vector<std::string>{"静夜思"});
    EXPECT_FALSE(likeSearch(sent));
  }
  // Anywhere in the title, in the order of the list; the described list's page and columns.
  EXPECT_EQ(quick(main->r1, QStringLiteral("ys")), (std::vector<std::string>{"静夜思", "夜思"}));
  EXPECT_EQ(main->PageControl1->currentIndex(), 0);
  EXPECT_FALSE(main->DBGridEh4->Columns()[0]->Visible());
  EXPECT_EQ(main->DBGridEh4->Columns()[1]->Width(), 155);
  EXPECT_EQ(main->uq4->Fields()[1]->FieldName(), g("作品"));
  EXPECT_EQ(main->uq4->Fields()[2]->FieldName(), g("作者"));
  EXPECT_TRUE(boxes.boxes.empty());

  EXPECT_TRUE(quick(main->r1, QStringLiteral("qyt")).empty());
  ASSERT_EQ(boxes.boxes.size(), 1u) << "nothing found says so, as the described search does";
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));
}

TEST_F(PinyinSearchTest, AnAuthorInPinyinFindsHisPoems) {
  EXPECT_EQ(quick(main->r3, QStringLiteral("libai")), (std::vector<std::string>{"静夜思", "月下独酌"}));
  EXPECT_FALSE(likeSearch(sent));
  EXPECT_EQ(quick(main->r3, QStringLiteral("lb")), (std::vector<std::string>{"静夜思", "月下独酌"}));
  EXPECT_EQ(quick(main->r3, QStringLiteral("Li")), (std::vector<std::string>{"静夜思", "月下独酌", "夜思"}));
  EXPECT_FALSE(likeSearch(sent));
}

TEST_F(PinyinSearchTest, TheTitleFilterFindsTheTitlesThePinyinBegins) {
  main->Edit1->clear();
  StatementTrace trace(*main->c1);
  main->Edit1->setText(QStringLiteral("jy"));
  EXPECT_EQ(listed(main->uq4), std::vector<std::string>{"静夜思"});
  main->Edit1->setText(QStringLiteral("jing"));
  EXPECT_EQ(listed(main->uq4), (std::vector<std::string>{"静夜思", "静女"}));
  main->Edit1->setText(QStringLiteral("ys"));
  EXPECT_EQ(listed(main->uq4), std::vector<std::string>{"夜思"}) << "the title must begin so";
  EXPECT_FALSE(likeSearch(trace.statements));
  EXPECT_TRUE(boxes.boxes.empty()) << "the filter never asks";
}

TEST_F(PinyinSearchTest, InputWithAChineseCharacterOrADigitSendsTheDescribedStatement) {
  const auto sends = [](const std::vector<std::string>& statements, const AnsiString& sql) {
    return std::find(statements.begin(), statements.end(), std::string(sql)) != statements.end();
  };
  quick(main->r1, QStringLiteral("jys1"));
  EXPECT_EQ(main->uq4->SQL().Text(), statements::TitlesContaining("jys1") + "\r\n");
  EXPECT_TRUE(sends(sent, statements::TitlesContaining("jys1")));
  quick(main->r3, QStringLiteral("李b"));
  EXPECT_TRUE(sends(sent, statements::AuthorsContaining(g("李b"))));
  main->Edit1->clear();
  StatementTrace trace(*main->c1);
  main->Edit1->setText(QStringLiteral("静y"));
  EXPECT_TRUE(sends(trace.statements, statements::TitlesBeginningWith(g("静y"))));
}

TEST_F(PinyinSearchTest, ACollectionBuiltBeforePinyinSearchesLatinInputAsText) {
  main.reset();
  folder.execCatalogue({"drop table pinyin"});
  main = StartReader();
  ASSERT_TRUE(main);
  quick(main->r1, QStringLiteral("jys"));
  EXPECT_EQ(main->uq4->SQL().Text(), statements::TitlesContaining("jys") + "\r\n");
  main->Edit1->clear();
  main->Edit1->setText(QStringLiteral("jy"));
  EXPECT_EQ(main->uq4->SQL().Text(), statements::TitlesContaining("jys") + "\r\n") << "the filter leaves the list";
  ASSERT_EQ(boxes.boxes.size(), 1u) << "only the search's own: nothing found";
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("没有检索结果,请检查输入内容是否有误?"));
}

TEST_F(PinyinSearchTest, ThousandsFoundAreListedEveryOne) {
  // More than two of the batches the scratch list is written in, and not a multiple of one.
  std::vector<std::string> rows;
  for (int id = 100; id < 100 + 1201; ++id) {
    rows.push_back("insert into sici values (" + std::to_string(id) + ", 'x', 'y', '', '', '')");
    rows.push_back("insert into pinyin values (" + std::to_string(id) + ", 'an', 'an')");
  }
  main.reset();
  folder.execCatalogue(rows);
  main = StartReader();
  ASSERT_TRUE(main);
  quick(main->r1, QStringLiteral("an"));
  EXPECT_EQ(main->uq4->RecordCount() == 0 ? 0 : static_cast<int>(listed(main->uq4).size()), 1201);
  main->uq4->First();
  EXPECT_EQ(main->uq4->Fields()[0]->AsString(), "100");
  main->uq4->Last();
  EXPECT_EQ(main->uq4->Fields()[0]->AsString(), "1300");
}
