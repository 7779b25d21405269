// The poem as its source wrote it, through the real window: the source view of a Tang poem and
// of a poem whose source writes simplified characters, a character code page 936 lacks shown
// again, the book under the poem, the red word in both scripts and the choice kept.

#include <gtest/gtest.h>

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include "app/PoemPinyin.h"
#include "app/PoemSource.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

// 1 静夜思 from a source in traditional characters; 2 春晓 from one in simplified characters;
// 3 a poem whose stored lines hold a "〓" where code page 936 lacks 𠀾, which its source has.
void fillCollection(const ReaderFolder& folder) {
  folder.execCatalogue({
      g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')"),
      g("insert into sici values (2, '春晓', '孟浩然', '唐', '', '')"),
      g("insert into sici values (3, '无题', '某人', '唐', '', '')"),
  });
  folder.execTexts({
      g("insert into sici values (1, '床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。', '', '', '')"),
      g("insert into sici values (2, '春眠不觉晓，处处闻啼鸟。', '', '', '')"),
      g("insert into sici values (3, '山中") + "\xA1\xFE" + g("木长，\r\n明月照") + "\xA1\xFE" + g("人。', '', '', '')"),
      "insert into source values (1, '靜夜思', '李白', '床前明月光，疑是地上霜。\r\n舉頭望明月，低頭思故鄉。', 1, "
      "'唐诗三百首·五言绝句')",
      "insert into source values (2, '春晓', '孟浩然', '春眠不觉晓，处处闻啼鸟。', 0, '全唐诗·卷一百六十')",
      "insert into source values (3, '無題', '某人', '山中𠀾木長，\r\n明月照𠀾人。', 1, '全唐诗')",
  });
}

class SourceView : public ::testing::Test {
 protected:
  void SetUp() override {
    fillCollection(folder);
    start();
  }
  void TearDown() override { main.reset(); }
  void start() {
    main = StartReader();
    ASSERT_TRUE(main);
    SearchWord.clear();
  }
  void show(int id) { main->shownr(statements::PoemRow(AnsiString(std::to_string(id)))); }
  QString view() const { return main->rc->toPlainText(); }
  // Whether the view's characters at [from, from + count) are red, each.
  bool red(int from, int count) const {
    for (int at = from; at < from + count; ++at) {
      QTextCursor cursor(main->rc->document());
      cursor.setPosition(at + 1);
      if (cursor.charFormat().foreground().color() != QColor(255, 0, 0)) return false;
    }
    return true;
  }

  ConfigHome config;
  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(SourceView, TheSimplifiedViewNamesTheBookAndShowsWhatCodePage936Lacks) {
  EXPECT_EQ(main->N16->text(), QStringLiteral("繁体"));
  EXPECT_TRUE(main->N16->isCheckable());
  EXPECT_FALSE(main->N16->isChecked());
  show(1);
  EXPECT_EQ(view(), QStringLiteral("【标题】：静夜思\r\n【作者】：李白\r\n【朝代】：唐\r\n【体裁】：五绝\r\n\r\n"
                                   "床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。\r\n出处：唐诗三百首·五言绝句")
                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
      << view().toStdString();
  show(3);
  EXPECT_FALSE(view().contains(QChar(0x3013))) << view().toStdString();
  EXPECT_TRUE(view().contains(QStringLiteral("山中𠀾木长，"))) << "the source's character, the rest as stored";
  EXPECT_TRUE(view().contains(QStringLiteral("明月照𠀾人。")));
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("某人 : 无题"));
}

TEST_F(SourceView, TheSourceViewShowsTheTangPoemAsWrittenAndASimplifiedSourceThroughS2t) {
  show(1);
  QTest::keyClick(main.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(main->N16->isChecked());
  EXPECT_TRUE(view().startsWith(QStringLiteral("【标题】：靜夜思\n【作者】：李白\n"))) << view().toStdString();
  EXPECT_TRUE(view().contains(QStringLiteral("舉頭望明月，低頭思故鄉。\n出处：唐诗三百首·五言绝句")));
  EXPECT_EQ(main->GroupBox2->title(), QStringLiteral("李白 : 靜夜思"));
  EXPECT_EQ(main->Label4->text(), QStringLiteral("李白 : 靜夜思"));

  show(2);
  EXPECT_TRUE(view().startsWith(QStringLiteral("【标题】：春曉\n"))) << view().toStdString();
  EXPECT_TRUE(view().contains(QStringLiteral("春眠不覺曉，處處聞啼鳥。"))) << view().toStdString();
  show(3);
  EXPECT_TRUE(view().contains(QStringLiteral("山中𠀾木長，")));

  // Kept: a second window starts in the source's characters; the item takes it back.
  main.reset();
  start();
  EXPECT_TRUE(main->N16->isChecked());
  show(1);
  EXPECT_TRUE(view().startsWith(QStringLiteral("【标题】：靜夜思")));
  main->N16->trigger();
  EXPECT_TRUE(view().startsWith(QStringLiteral("【标题】：静夜思"))) << "the shown poem follows at once";
  EXPECT_NE(config.read().find("traditional=0"), std::string::npos);
}

TEST_F(SourceView, TheSearchWordIsRedInBothScripts) {
  SearchWord = g("举头");
  show(1);
  const int simplified = static_cast<int>(view().indexOf(QStringLiteral("举头")));
  ASSERT_GE(simplified, 0);
  EXPECT_TRUE(red(simplified, 2));
  EXPECT_FALSE(red(simplified + 2, 1));

  main->N16->trigger();
  const int traditional = static_cast<int>(view().indexOf(QStringLiteral("舉頭")));
  ASSERT_GE(traditional, 0);
  EXPECT_TRUE(red(traditional, 2)) << "舉頭 is 举头 written in the source's characters";
  EXPECT_TRUE(view().contains(QStringLiteral("舉頭望明月"))) << "marked as written, never replaced";

  SearchWord = g("明月");
  show(1);
  const int moon = static_cast<int>(view().indexOf(QStringLiteral("明月")));
  EXPECT_TRUE(red(moon, 2));
  EXPECT_TRUE(red(static_cast<int>(view().indexOf(QStringLiteral("明月"), moon + 2)), 2));
}

TEST_F(SourceView, TheBookUnderThePoemCarriesNoPinyin) {
  PoemPinyin* pinyin = PoemPinyinOf(*main);
  ASSERT_NE(pinyin, nullptr);
  pinyin->SetShown(true);
  if (!pinyin->Shown()) GTEST_SKIP() << "built without the pinyin data";
  show(1);
  QTextBlock verse, book;
  for (QTextBlock block = main->rc->document()->begin(); block.isValid(); block = block.next()) {
    if (block.text().startsWith(QStringLiteral("举头"))) verse = block;
    if (block.text().startsWith(QStringLiteral("出处："))) book = block;
  }
  ASSERT_TRUE(verse.isValid() && book.isValid());
  EXPECT_EQ(pinyin->SyllablesOf(verse).at(0), QStringLiteral("jǔ"));
  const std::vector<QString> none = pinyin->SyllablesOf(book);
  EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](const QString& s) { return s.isEmpty(); }));
  pinyin->SetShown(false);
}
