#include <gtest/gtest.h>

#include "tools/collection/Assembly.h"
#include "platform/text/Simplifier.h"

using namespace collection;

namespace {
Poem poem(std::string author, std::string title, std::vector<std::string> lines, Tier tier = Tier::Ranked,
          double popularity = 0) {
  Poem p;
  p.author = std::move(author);
  p.title = std::move(title);
  p.dynasty = "唐";
  p.lines = std::move(lines);
  p.tier = tier;
  p.popularity = popularity;
  return p;
}
}  // namespace

TEST(Anthologies, KnownReadingReplacesTheCollectionTextOnce) {
  std::vector<Poem> poems = {poem("李白", "静夜思", {"床前看月光"}), poem("李白", "静夜思", {"另一首"}),
                             poem("杜甫", "春望", {"国破山河在"})};
  std::vector<Poem> anthology = {poem("李白", "静 夜·思", {"床前明月光"}, Tier::Anthology),
                                 poem("王之涣", "登鹳雀楼", {"白日依山尽"}, Tier::Anthology)};
  anthology[0].appreciation = "赏析";
  mergeAnthologies(poems, anthology);

  ASSERT_EQ(poems.size(), 4u) << "a poem the collection lacks is added, a known one is not";
  EXPECT_EQ(poems[0].lines, std::vector<std::string>{"床前明月光"});
  EXPECT_EQ(poems[0].tier, Tier::Anthology);
  EXPECT_EQ(poems[0].appreciation, "赏析");
  EXPECT_EQ(poems[1].lines, std::vector<std::string>{"另一首"}) << "only the first match is replaced";
  EXPECT_EQ(poems[3].title, "登鹳雀楼");
  EXPECT_TRUE(anthology.empty());
}

TEST(Anthologies, TwoReadingsOfOneTitleReplaceTwoPoems) {
  std::vector<Poem> poems = {poem("王维", "杂诗", {"甲"}), poem("王维", "杂诗", {"乙"})};
  std::vector<Poem> anthology = {poem("王维", "杂诗", {"一"}, Tier::Anthology), poem("王维", "杂诗", {"二"}, Tier::Anthology)};
  mergeAnthologies(poems, anthology);
  ASSERT_EQ(poems.size(), 2u);
  EXPECT_EQ(poems[0].lines.front(), "一");
  EXPECT_EQ(poems[1].lines.front(), "二");
}

TEST(Selection, TierThenPopularityThenCollectionOrder) {
  const std::vector<Poem> poems = {
      poem("a", "0", {"x"}, Tier::Ranked, 5),  poem("a", "1", {"x"}, Tier::Curated, 0),
      poem("a", "2", {"x"}, Tier::Ranked, 9),  poem("a", "3", {"x"}, Tier::Anthology, 0),
      poem("a", "4", {"x"}, Tier::Ranked, 5),  poem("a", "5", {"x"}, Tier::Ranked, 1)};
  EXPECT_EQ(choosePoems(poems, 4), (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(choosePoems(poems, 5), (std::vector<std::size_t>{0, 1, 2, 3, 4})) << "equal popularity: earlier first";
  EXPECT_EQ(choosePoems(poems, 2), (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(choosePoems(poems, 99).size(), 6u);
}

TEST(Assemble, SimplifiesDerivesAndGathersPoetsWithBiographies) {
  Corpus corpus;
  corpus.poems = {poem("李白", "靜夜思", {"牀前看月光，疑是地上霜。", "舉頭望山月，低頭思故鄉。"}, Tier::Curated),
                  poem("溫庭筠", "菩薩蠻", {"小山重疊金明滅"}, Tier::Curated), poem("無名", "闕題", {"。"}),
                  poem("李白", "春思", {"燕草如碧絲"}, Tier::Ranked, 3)};
  corpus.poems[0].tags = {"思乡"};
  corpus.poems[1].dynasty = "五代";
  corpus.poems[1].form = Form::Ci;
  corpus.anthology = {poem("李白", "靜夜思", {"床前明月光，疑是地上霜，", "舉頭望明月，低頭思故鄉。"}, Tier::Anthology)};
  corpus.biographies = {{"溫庭筠", "唐", "本名岐"}, {"李白", "宋", "同名之人"}, {"李白", "唐", "字太白"}};

  const Simplifier simplify;
  const Collection c = assemble(corpus, 0, simplify, nullptr);
  ASSERT_EQ(c.poems.size(), 3u) << "the entry without text is left out";
  EXPECT_EQ(c.poems[0].poem.title, "静夜思");
  EXPECT_EQ(c.poems[0].poem.lines.front(), "床前明月光，疑是地上霜，");
  EXPECT_EQ(c.poems[0].poem.lines.back(), "举头望明月，低头思故乡。");
  EXPECT_EQ(c.poems[0].genre, "五绝");
  EXPECT_EQ(c.poems[0].category, "羁旅");
  EXPECT_EQ(c.poems[1].genre, "词");

  ASSERT_EQ(c.poets.size(), 2u) << "one row per poet and dynasty";
  EXPECT_EQ(c.poets[0].author, "李白");
  EXPECT_EQ(c.poets[0].biography, "字太白") << "the poet's own dynasty first";
  EXPECT_EQ(c.poets[1].author, "温庭筠");
  EXPECT_EQ(c.poets[1].biography, "本名岐") << "a Five Dynasties poet found in the Tang books";

  EXPECT_THROW(assemble(corpus, 10, simplify, nullptr), CorpusError) << "fewer poems than asked for";
  EXPECT_EQ(assemble(corpus, 2, simplify, nullptr).poems.size(), 2u);
}

TEST(Assemble, KeepsAndCountsEveryStoredCharacterWhoseSimplifiedFormCodePage936Lacks) {
  // 鑪, 鸂 and 鶒 simplify to characters code page 936 lacks; 詠, 紅, 點 and 爐 do not.
  Corpus corpus;
  corpus.poems = {poem("鸂鶒子", "詠鑪", {"紅鑪點雪，一二三四。"}, Tier::Curated),
                  poem("李白", "鑪", {"鑪鑪鑪鑪鑪"}, Tier::Ranked)};
  corpus.poems[0].notes = "鑪：火爐";
  corpus.anthology = {poem("李白", "鑪", {"鑪鑪，一二三四五。"}, Tier::Anthology)};
  corpus.biographies = {{"鸂鶒子", "唐", "善詠鑪"}};
  const Simplifier simplify;

  const Collection one = assemble(corpus, 1, simplify, nullptr);
  ASSERT_EQ(one.poems.size(), 1u);
  const Poem& p = one.poems[0].poem;
  EXPECT_EQ(p.author, "李白") << "the anthology's poem comes first";
  EXPECT_EQ(p.title, "鑪");
  EXPECT_EQ(p.lines, std::vector<std::string>{"鑪鑪，一二三四五。"});
  EXPECT_EQ(one.keptOriginals, 3u) << "its title and the anthology's text; the unused reading's title not";

  const Collection both = assemble(corpus, 2, simplify, nullptr);
  ASSERT_EQ(both.poems.size(), 2u);
  const Poem& zi = both.poems[0].poem;
  EXPECT_EQ(zi.title, "咏鑪");
  EXPECT_EQ(zi.lines, std::vector<std::string>{"红鑪点雪，一二三四。"});
  EXPECT_EQ(zi.notes, "鑪：火炉");
  ASSERT_EQ(both.poets.size(), 2u);
  EXPECT_EQ(both.poets[0].biography, "善咏鑪");
  // 3 as above; title 1, author 2, text 1, notes 1; the poet table's name 2, biography 1.
  EXPECT_EQ(both.keptOriginals, 3u + 5u + 3u);
}
