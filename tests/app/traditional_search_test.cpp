// Searching the simplified collection with traditional characters, through the real window:
// the statements that reach the database, the lists they fill and the word marked in red.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "app/sici.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

AnsiString sqlOf(TUniQuery* query) { return query->SQL().Text(); }

std::vector<AnsiString> titles(TUniQuery* query) {
  std::vector<AnsiString> out;
  for (query->First(); !query->Eof(); query->Next()) out.push_back(query->Fields()[1]->AsString());
  return out;
}

// The red text of the poem view, one entry per red run.
QStringList redRuns(const QTextEdit* view) {
  QStringList out;
  for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0)) out << it.fragment().text();
  return out;
}

class TraditionalSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.execCatalogue({
        g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')"),
        g("insert into sici values (2, '月下独酌', '李白', '唐', '五古', '')"),
        g("insert into sici values (3, '泊船瓜洲', '王安石', '宋', '七绝', '')"),
        g("insert into sici values (4, '凉州词', '王之涣', '唐', '七绝', '')"),
        g("insert into sici values (5, '登岳阳楼', '杜甫', '唐', '五律', '')"),
        g("insert into poet values ('李白', '唐', '')"),
    });
    folder.execTexts({
        g("insert into sici values (1, '床前明月光，疑是地上霜。', '', '', '')"),
        g("insert into sici values (2, '花间一壶酒，独酌无相亲。', '', '', '')"),
        g("insert into sici values (3, '春风又绿江南岸，明月何时照我还。春风不语。', '', '', '')"),
        g("insert into sici values (4, '羌笛何须怨杨柳，春风不度玉门关。', '', '', '')"),
        g("insert into sici values (5, '吴楚东南坼，乾坤日夜浮。', '', '', '')"),
    });
    main = StartReader();
    ASSERT_TRUE(main);
    SearchWord.clear();
  }

  void quick(QRadioButton* field, const QString& typed) {
    field->setChecked(true);
    main->eso->setText(typed);
    main->Button1Click();
  }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(TraditionalSearch, TitlesAuthorsAndTheTitleFilterFindTheSimplifiedCollection) {
  quick(main->r1, QStringLiteral("靜夜思"));
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '%静夜思%'") + "\r\n");
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("静夜思")});
  EXPECT_EQ(main->eso->text(), QStringLiteral("靜夜思")) << "the input stays as typed";

  quick(main->r1, QStringLiteral(" 月下獨酌 "));
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("月下独酌")}) << "mixed input, trimmed";

  quick(main->r3, QStringLiteral("王安石"));
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("泊船瓜洲")});

  main->zz->setText(QStringLiteral("李白"));
  main->bt->setText(QStringLiteral("靜夜"));
  main->SpeedButton1Click();
  EXPECT_EQ(sqlOf(main->uq4),
            g("select id,tm as 作品,zz as 作者 from sici where 1=1  and zz like '%李白%' and tm like '%静夜%'") + "\r\n");
  EXPECT_EQ(SearchWord, g("静夜"));

  main->Edit1->setText(QStringLiteral("涼"));
  EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '凉%'") + "\r\n");
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("凉州词")});
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TraditionalSearch, SimplifiedInputReachesTheDatabaseByteForByte) {
  // 乾, 於, 後 and 干 are simplified characters as well: as typed, never rewritten.
  for (const char* typed : {"李白", "乾坤", "皇后", "于是", "干", "乾", "於", "後", "静夜思", "王之涣", "Li-Bai"}) {
    quick(main->r3, QString::fromUtf8(typed));
    EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where zz like '%") + g(typed) + "%'\r\n")
        << typed;
  }
  // Every title and author of the collection, as typed.
  for (const char* typed : {"静夜思", "月下独酌", "泊船瓜洲", "凉州词", "登岳阳楼", "李白", "王安石", "王之涣", "杜甫"}) {
    quick(main->r1, QString::fromUtf8(typed));
    EXPECT_EQ(sqlOf(main->uq4), g("select id,tm as 作品,zz as 作者 from sici where tm like '%") + g(typed) + "%'\r\n");
  }
  quick(main->r2, QStringLiteral("乾坤"));
  EXPECT_EQ(SearchWord, g("乾坤"));
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("登岳阳楼")});
}

TEST_F(TraditionalSearch, AContentSearchMarksTheConvertedWordInRed) {
  quick(main->r2, QStringLiteral("春風"));
  EXPECT_EQ(SearchWord, g("春风"));
  EXPECT_EQ(titles(main->uq4), (std::vector<AnsiString>{g("泊船瓜洲"), g("凉州词")}));
  main->uq4->First();
  main->DBGridEh4CellClick(*main->DBGridEh4->Columns()[1]);
  EXPECT_EQ(redRuns(main->rc), (QStringList{QStringLiteral("春风"), QStringLiteral("春风")}));
  EXPECT_TRUE(main->rc->toPlainText().contains(QStringLiteral("春风又绿江南岸")));

  // 查诗词 puts the selection into the input as it stands; the search converts it.
  main->rc->setPlainText(QStringLiteral("羌笛何須怨楊柳，春風不度玉門關"));
  QTextCursor cursor = main->rc->textCursor();
  cursor.setPosition(8);
  cursor.setPosition(12, QTextCursor::KeepAnchor);
  main->rc->setTextCursor(cursor);
  main->N6Click();
  EXPECT_EQ(main->eso->text(), QStringLiteral("春風不度"));
  main->Button1Click();
  EXPECT_EQ(SearchWord, g("春风不度"));
  EXPECT_EQ(titles(main->uq4), std::vector<AnsiString>{g("凉州词")});
  EXPECT_TRUE(boxes.boxes.empty());
}
