#include <gtest/gtest.h>

#include <fstream>

#include "tests/tools/corpus_fixture.h"
#include "tools/collection/CorpusReader.h"

using namespace collection;

namespace {
const Poem* find(const std::vector<Poem>& poems, const std::string& title) {
  for (const Poem& p : poems)
    if (p.title == title) return &p;
  return nullptr;
}
}  // namespace

TEST(CorpusReader, ReadsEverySourceWithItsDynastyFormAndOrder) {
  MiniCorpus corpus;
  corpus.write("shijing/shijing.json", R"([{"title": "关雎", "chapter": "国风", "content": ["关关雎鸠，在河之洲。"]}])");
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "李白", "title": "靜夜思", "paragraphs": ["牀前看月光，疑是地上霜。"], "tags": ["思乡", "乐府"]},
                   {"author": "杜甫", "title": "春望", "paragraphs": ["國破山河在，城春草木深。"]}])");
  corpus.write("quantangshi/poet.song.0.json", R"([{"author": "蘇軾", "title": "題西林壁", "paragraphs": ["橫看成嶺側成峰"]}])");
  corpus.write("songci/ci.song.0.json",
               R"([{"author": "苏轼", "rhythmic": "水调歌头", "paragraphs": ["明月几时有？把酒问青天。"]}])");
  corpus.write("wudaishici/huajianji/huajianji-x-juan.json",
               R"([{"author": "韦庄", "title": "菩萨蛮", "rhythmic": "菩萨蛮", "paragraphs": ["人人尽说江南好"], "notes": ["1.甲", "2.乙"]}])");
  corpus.write("yuanqu/yuanqu.json", R"([{"dynasty": "yuan", "author": "马致远", "title": "天净沙・秋思", "paragraphs": ["枯藤老树昏鸦"]}])");
  corpus.write("nalanxingde/纳兰性德诗集.json", R"([{"title": "长相思·山一程", "para": ["山一程，水一程"], "author": "纳兰性德"}])");

  const Corpus read = readCorpus(corpus.dist(), nullptr);
  ASSERT_EQ(read.poems.size(), 8u);
  const std::vector<std::string> order = {"关雎", "靜夜思", "春望", "菩萨蛮", "題西林壁", "水调歌头·明月几时有", "天净沙・秋思"};
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(read.poems[i].title, order[i]);

  EXPECT_EQ(read.poems[0].author, "佚名");
  EXPECT_EQ(read.poems[0].dynasty, "先秦");
  const Poem* jingyesi = find(read.poems, "靜夜思");
  EXPECT_EQ(jingyesi->dynasty, "唐");
  EXPECT_EQ(jingyesi->genreHint, "乐府");
  EXPECT_EQ(jingyesi->tags.size(), 2u);
  const Poem* pusaman = find(read.poems, "菩萨蛮");
  EXPECT_EQ(pusaman->dynasty, "五代");
  EXPECT_EQ(pusaman->form, Form::Ci);
  EXPECT_EQ(pusaman->notes, "1.甲\n2.乙");
  EXPECT_EQ(find(read.poems, "水调歌头·明月几时有")->form, Form::Ci) << "a ci without title is named by tune and first clause";
  EXPECT_EQ(find(read.poems, "天净沙・秋思")->form, Form::Qu);
  EXPECT_EQ(read.poems.back().title, "长相思·山一程");
  EXPECT_EQ(read.poems.back().dynasty, "清");
  EXPECT_EQ(read.poems.back().lines, std::vector<std::string>{"山一程，水一程"});
}

TEST(CorpusReader, RanksFollowTheirPoemsEvenWhereTheFilesDrift) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.song.0.json",
               R"([{"author": "甲", "title": "一", "paragraphs": ["一二三四五。"]},
                   {"author": "乙", "title": "二", "paragraphs": ["一二三四五。"]},
                   {"author": "丙", "title": "三", "paragraphs": ["一二三四五。"]}])");
  // The rank file lists the second and first poems swapped and lacks the third.
  corpus.write("rank/poet/poet.song.rank.0.json",
               R"([{"author": "乙", "title": "二", "baidu": 999999, "google": 999999},
                   {"author": "甲", "title": "一", "baidu": 9}])");
  const Corpus read = readCorpus(corpus.dist(), nullptr);
  ASSERT_EQ(read.poems.size(), 3u);
  EXPECT_GT(read.poems[1].popularity, read.poems[0].popularity);
  EXPECT_GT(read.poems[0].popularity, 0);
  EXPECT_EQ(read.poems[2].popularity, 0);
  EXPECT_EQ(read.poems[0].tier, Tier::Ranked) << "untagged Song shi compete by popularity";
}

TEST(CorpusReader, AnthologiesBiographiesAndImperialNotes) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json", R"([{"author": "王維", "title": "相思", "paragraphs": ["紅豆生南國"]}])");
  corpus.write("mengxue/tangshisanbaishou.json",
               R"({"content": [{"type": "樂府", "content": [{"chapter": "靜夜思", "subchapter": null, "author": "李白", "paragraphs": ["床前明月光"]}]}]})");
  corpus.write("shuimotangshi/shuimotangshi.json", R"([{"author": "刘禹锡", "title": "蜀先主庙", "paragraphs": ["天地英雄气"], "prologue": "此诗歌颂"}])");
  corpus.write("quantangshi/authors.tang.json", R"([{"name": "王維", "desc": "字摩詰"}])");
  corpus.write("songci/author.song.json", R"([{"name": "苏轼", "description": "北宋文学家"}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"title": "相思", "author": "王維", "biography": "", "paragraphs": ["紅豆生南國"], "notes": ["南國：指嶺南"]},
                   {"title": "句", "author": "王維", "biography": "字摩詰", "paragraphs": ["一二三四五"], "notes": [""]}])");

  const Corpus read = readCorpus(corpus.dist(), nullptr);
  ASSERT_EQ(read.anthology.size(), 2u);
  EXPECT_EQ(read.anthology[0].title, "靜夜思");
  EXPECT_EQ(read.anthology[0].genreHint, "乐府");
  EXPECT_EQ(read.anthology[0].tier, Tier::Anthology);
  EXPECT_EQ(read.anthology[1].appreciation, "此诗歌颂");
  ASSERT_EQ(read.poems.size(), 1u);
  EXPECT_EQ(read.poems[0].notes, "") << "the other edition's notes find their poem by its text later";
  ASSERT_EQ(read.annotations.size(), 1u) << "an entry without notes has nothing to add";
  EXPECT_EQ(read.annotations[0].notes, "南國：指嶺南");
  EXPECT_EQ(read.annotations[0].lines, std::vector<std::string>{"紅豆生南國"});
  EXPECT_EQ(read.annotations[0].dynasty, "唐");
  ASSERT_EQ(read.biographies.size(), 3u);
  EXPECT_EQ(read.biographies[0].dynasty, "宋");
  EXPECT_EQ(read.biographies[1].text, "字摩詰");
  EXPECT_EQ(read.biographies[2].text, "字摩詰") << "the imperial edition's biographies are read too";
}

TEST(CorpusReader, ChuciPoemsOfTheHanImitatorsAreHan) {
  MiniCorpus corpus;
  corpus.write("chuci/chuci.json",
               R"([{"title": "离骚", "section": "离骚", "author": "屈原", "content": ["帝高阳之苗裔兮"]},
                   {"title": "九辩", "section": "九辩", "author": "宋玉", "content": ["悲哉秋之为气也"]},
                   {"title": "大招", "section": "大招", "author": "景差", "content": ["青春受谢"]},
                   {"title": "惜誓", "section": "惜誓", "author": "贾谊", "content": ["惜余年老而日衰兮"]},
                   {"title": "逢尤", "section": "九思", "author": "王逸", "content": ["悲兮愁"]}])");
  const Corpus read = readCorpus(corpus.dist(), nullptr);
  ASSERT_EQ(read.poems.size(), 5u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(read.poems[i].dynasty, "先秦") << read.poems[i].author;
  for (std::size_t i = 3; i < 5; ++i) EXPECT_EQ(read.poems[i].dynasty, "汉") << read.poems[i].author;
  EXPECT_EQ(read.poems[0].tier, Tier::Curated);
}

TEST(CorpusReader, BadInputIsReportedWithTheFileItConcerns) {
  MiniCorpus corpus;
  EXPECT_THROW(readCorpus(corpus.root() / "nowhere", nullptr), CorpusError);

  corpus.write("yuanqu/yuanqu.json", R"([{"author": "马致远", "title": "天净沙", "paragr)");
  try {
    readCorpus(corpus.dist(), nullptr);
    FAIL() << "a truncated file must not pass";
  } catch (const CorpusError& e) {
    EXPECT_NE(std::string(e.what()).find("yuanqu.json"), std::string::npos) << e.what();
  }

  corpus.write("yuanqu/yuanqu.json", R"({"not": "a list"})");
  EXPECT_THROW(readCorpus(corpus.dist(), nullptr), CorpusError);

  corpus.write("yuanqu/yuanqu.json", "[]");
  corpus.remove("quantangshi/poet.song.0.json");
  try {
    readCorpus(corpus.dist(), nullptr);
    FAIL() << "a missing series must not pass";
  } catch (const CorpusError& e) {
    EXPECT_NE(std::string(e.what()).find("poet.song."), std::string::npos) << e.what();
  }
}
