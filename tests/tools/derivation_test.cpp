#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tools/collection/Derivation.h"

using namespace collection;

namespace {
Poem shi(std::vector<std::string> lines) {
  Poem p;
  p.lines = std::move(lines);
  return p;
}
}  // namespace

TEST(Genre, RegularLinesGiveQuatrainsRegulatedVerseAndLongRegulatedVerse) {
  EXPECT_EQ(deriveGenre(shi({"床前明月光，疑是地上霜。", "举头望明月，低头思故乡。"})), "五绝");
  EXPECT_EQ(deriveGenre(shi({"朝辞白帝彩云间，千里江陵一日还。", "两岸猿声啼不住，轻舟已过万重山。"})), "七绝");
  EXPECT_EQ(deriveGenre(shi({"国破山河在，城春草木深。", "感时花溅泪，恨别鸟惊心。", "烽火连三月，家书抵万金。",
                             "白头搔更短，浑欲不胜簪。"})),
            "五律");
  EXPECT_EQ(deriveGenre(shi(std::vector<std::string>(4, "一二三四五六七，一二三四五六七。"))), "七律");
  EXPECT_EQ(deriveGenre(shi(std::vector<std::string>(6, "一二三四五，一二三四五。"))), "五排");
  EXPECT_EQ(deriveGenre(shi(std::vector<std::string>(5, "一二三四五六七，一二三四五六七。"))), "七排");
}

TEST(Genre, IrregularCountsFragmentsAndMixedLengths) {
  EXPECT_EQ(deriveGenre(shi({"一二三四五，一二三四五。", "一二三四五，一二三四五。", "一二三四五，一二三四五。"})), "五古")
      << "six lines are neither quatrain nor regulated verse";
  EXPECT_EQ(deriveGenre(shi({"一二三四五六七，一二三四五六七，一二三四五六七。"})), "七言") << "fewer than four lines";
  EXPECT_EQ(deriveGenre(shi({"关关雎鸠，在河之洲。窈窕淑女，君子好逑。"})), "四古");
  EXPECT_EQ(deriveGenre(shi({"一二三四五六，一二三四五六。", "一二三四五六，一二三四五六。"})), "六古");
  EXPECT_EQ(deriveGenre(shi({"前不见古人，后不见来者。", "念天地之悠悠，独怆然而涕下。"})), "杂言");
  EXPECT_EQ(deriveGenre(shi({"。", "（阙）"})), "") << "no text at all";
}

TEST(Genre, FormAndStatedGenreComeBeforeTheLineCount) {
  Poem ci = shi({"一二三四五，一二三四五。", "一二三四五，一二三四五。"});
  ci.form = Form::Ci;
  EXPECT_EQ(deriveGenre(ci), "词");
  ci.form = Form::Qu;
  EXPECT_EQ(deriveGenre(ci), "散曲");
  Poem yuefu = shi({"一二三四五，一二三四五。"});
  yuefu.genreHint = "乐府";
  EXPECT_EQ(deriveGenre(yuefu), "乐府");
}

TEST(Genre, EditorialRemarksAndMarksDoNotCount) {
  EXPECT_EQ(clauseLengths({"朝披梦泽云（甲本作「云梦泽」），笠钓青茫茫。"}), (std::vector<std::size_t>{5, 5}));
  EXPECT_EQ(clauseLengths({"“明月几时有？把酒问青天。”"}), (std::vector<std::size_t>{5, 5}));
  EXPECT_EQ(clauseLengths({"床前明月光", "疑是地上霜"}), (std::vector<std::size_t>{5, 5}))
      << "a line break ends a clause";
  EXPECT_EQ(clauseLengths({"〓〓明月光，"}), (std::vector<std::size_t>{5})) << "unknown characters still count";
}

TEST(Genre, VerseTextKeepsOnlyTheCharactersOfTheClauses) {
  const std::vector<std::string> lines = {"“朝披梦泽云（甲本作「云梦泽」），", "笠钓青茫茫。”", "（阙）"};
  EXPECT_EQ(clauses(lines), (std::vector<std::string>{"朝披梦泽云", "笠钓青茫茫"}));
  EXPECT_EQ(verseText(lines), "朝披梦泽云笠钓青茫茫");
  EXPECT_EQ(verseText({"。", ""}), "");
}

TEST(Category, FirstTagWithAThemeDecides) {
  EXPECT_EQ(deriveCategory({"唐诗三百首", "新乐府辞", "思乡", "中秋"}), "羁旅");
  EXPECT_EQ(deriveCategory({"西湖", "送别", "写景"}), "送别");
  EXPECT_EQ(deriveCategory({"咏史怀古"}), "怀古");
  EXPECT_EQ(deriveCategory({"吊古伤今"}), "怀古");
  EXPECT_EQ(deriveCategory({"初中古诗", "七年级上册(课外)", "唐诗三百首"}), "") << "schoolbooks are no theme";
  EXPECT_EQ(deriveCategory({}), "");
}

TEST(Category, APlaceGivesOneOnlyWhereNoThemeDoes) {
  EXPECT_EQ(deriveCategory({"西湖"}), "山水") << "a lake";
  EXPECT_EQ(deriveCategory({"初中古诗", "庐山"}), "山水") << "a mountain after a schoolbook";
  EXPECT_EQ(deriveCategory({"长江", "黄河"}), "山水");
  EXPECT_EQ(deriveCategory({"岳阳楼"}), "记游") << "a tower one climbs";
  EXPECT_EQ(deriveCategory({"庐山", "送别"}), "送别") << "a theme later in the tags still decides";
  EXPECT_EQ(deriveCategory({"岳阳楼", "洞庭湖"}), "记游") << "between places, the first";
  EXPECT_EQ(deriveCategory({"西湖小学"}), "") << "only whole tags count";
}

TEST(Category, EveryMappedWordIsOneOfTheReadersCategories) {
  const auto& words = categoryWords();
  EXPECT_EQ(words.size(), 27u);
  std::set<std::string> reached;
  for (const char* tag : {"怀古", "春天", "写鸟", "山水", "友情", "答谢", "边塞", "送别", "写景", "思乡", "田园", "哲理",
                          "咏物", "闺怨", "写物", "写人", "书信", "讽刺", "留别", "战争", "叙事", "农民", "怀人", "题画",
                          "登高", "抒情", "静物"}) {
    const std::string category = deriveCategory({tag});
    EXPECT_NE(std::find(words.begin(), words.end(), category), words.end()) << tag << " -> " << category;
    reached.insert(category);
  }
  EXPECT_EQ(reached.size(), words.size()) << "some category can never be given";
}
