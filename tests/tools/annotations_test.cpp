// The imperial edition's notes, read from a miniature corpus and attached while assembling.

#include <gtest/gtest.h>

#include "tests/tools/corpus_fixture.h"
#include "tools/collection/Assembly.h"
#include "tools/collection/CorpusReader.h"
#include "platform/text/Simplifier.h"

using namespace collection;

namespace {

// The notes of every stored poem, by its simplified title and first line.
std::map<std::string, std::string> notesByPoem(const MiniCorpus& corpus) {
  const Simplifier simplify;
  const Collection c = assemble(readCorpus(corpus.dist(), nullptr), 0, simplify, nullptr);
  std::map<std::string, std::string> notes;
  for (const StoredPoem& s : c.poems) notes[s.poem.author + s.poem.title + s.poem.lines.front()] = s.poem.notes;
  return notes;
}

}  // namespace

TEST(Annotations, EachFragmentNoteGoesWithItsPartOfThePoemInTheOrderOfThePoem) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "尉遲匡", "title": "句",
                    "paragraphs": ["明月飛出海，黃河流上天。", "紅斾渡江霞蘸水，青蛇出匣雪侵衣。", "夜夜月爲青塚鏡，年年雪作黑山花。"]}])");
  // Listed out of the poem's order; the second writes 斾 as 旆, a variant t2s keeps apart.
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "尉遲匡", "title": "句", "paragraphs": ["夜夜月為青塚鏡，年年雪作黑山花。"], "notes": ["（《塞上曲》）"]},
                   {"author": "尉遲匡", "title": "句", "paragraphs": ["明月飛出海，黃河流上天。"], "notes": ["（《暮行潼關》）"]},
                   {"author": "尉遲匡", "title": "句", "paragraphs": ["紅旆渡江霞蘸水，青蛇出匣雪侵衣。"], "notes": ["（《贈池陽守》）", "二"]}])");
  const auto notes = notesByPoem(corpus);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes.begin()->second,
            "明月飞出海：（《暮行潼关》）\n红旆渡江霞蘸水：（《赠池阳守》）\n二\n夜夜月为青冢镜：（《塞上曲》）");
}

TEST(Annotations, ANoteGoesOnlyToThePoemThatHoldsItsText) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "李濤", "title": "句", "paragraphs": ["溪聲長在耳，山色不離門。"]},
                   {"author": "李濤", "title": "句", "paragraphs": ["水聲長在耳，山色不離門。", "落日長安道，秋槐滿地花。"]}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "李濤", "title": "句", "paragraphs": ["落日長安道，秋槐滿地花。"], "notes": ["（以下並見《紀事》）"]},
                   {"author": "李濤", "title": "句", "paragraphs": ["春風不度玉門關。"], "notes": ["（無從查考）"]}])");
  const auto notes = notesByPoem(corpus);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes.at("李涛句溪声长在耳，山色不离门。"), "");
  EXPECT_EQ(notes.at("李涛句水声长在耳，山色不离门。"), "落日长安道：（以下并见《纪事》）");
}

TEST(Annotations, OneCharacterInFiveMayDifferBetweenTheEditions) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "李濤", "title": "句", "paragraphs": ["溪聲長在耳，山色不離門。"]},
                   {"author": "李濤", "title": "句", "paragraphs": ["水聲長在耳，山色不離門。"]}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "李濤", "title": "句", "paragraphs": ["溪聲長在口。"], "notes": ["（一字之差）"]},
                   {"author": "李濤", "title": "句", "paragraphs": ["溪聲短在口。"], "notes": ["（二字之差）"]}])");
  const auto notes = notesByPoem(corpus);
  EXPECT_EQ(notes.at("李涛句溪声长在耳，山色不离门。"), "溪声长在口：（一字之差）");
  EXPECT_EQ(notes.at("李涛句水声长在耳，山色不离门。"), "") << "two characters of five are another line";
}

TEST(Annotations, OnePoemAndOneEntryAreOnePoemWhateverTheirTexts) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "王維", "title": "相思", "paragraphs": ["紅豆生南國，春來發幾枝。"]},
                   {"author": "杜甫", "title": "春望", "paragraphs": ["國破山河在，城春草木深。"], "notes": ["自注"]}])");
  corpus.write("quantangshi/poet.song.0.json",
               R"([{"author": "王維", "title": "相思", "paragraphs": ["願君多採擷，此物最相思。"]}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "王維", "title": "相思", "paragraphs": ["願君多採擷，此物最相思。"], "notes": ["南國：指嶺南"]},
                   {"author": "杜甫", "title": "春望", "paragraphs": ["國破山河在，城春草木深。"], "notes": ["別注"]}])");
  const auto notes = notesByPoem(corpus);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes.at("王维相思红豆生南国，春来发几枝。"), "南国：指岭南") << "the whole poem: no heading";
  EXPECT_EQ(notes.at("王维相思愿君多采撷，此物最相思。"), "") << "a Song poem of the same name is another poem";
  EXPECT_EQ(notes.at("杜甫春望国破山河在，城春草木深。"), "自注") << "a poem's own notes stay";
}

TEST(Annotations, AnEntryWhoseTextNoPoemHoldsIsLeftOutWhereTwoPoemsShareItsName) {
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "杜甫", "title": "絕句", "paragraphs": ["兩箇黃鸝鳴翠柳，一行白鷺上青天。"], "notes": ["自注"]},
                   {"author": "杜甫", "title": "絕句", "paragraphs": ["遲日江山麗，春風花草香。"]}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "杜甫", "title": "絕句", "paragraphs": ["窗含西嶺千秋雪，門泊東吳萬里船。"], "notes": ["別注"]}])");
  const auto notes = notesByPoem(corpus);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes.at("杜甫绝句迟日江山丽，春风花草香。"), "") << "the entry may be the other poem's";
}

TEST(Annotations, LongTextsAreMatchedOnlyExactly) {
  // Two thousand clauses: a poem and an entry far longer than any fragment of the corpus.
  std::string poemLines, entryLines;
  for (int i = 0; i < 2000; ++i) {
    poemLines += std::string(i ? "," : "") + "\"一二三四五。\"";
    entryLines += std::string(i ? "," : "") + (i == 1000 ? "\"一二三四六。\"" : "\"一二三四五。\"");
  }
  MiniCorpus corpus;
  corpus.write("quantangshi/poet.tang.0.json",
               R"([{"author": "甲", "title": "长", "paragraphs": [)" + poemLines + R"(]},
                   {"author": "甲", "title": "长", "paragraphs": ["六七八九十。"]}])");
  corpus.write("yudingquantangshi/json/001.json",
               R"([{"author": "甲", "title": "长", "paragraphs": [)" + entryLines + R"(], "notes": ["一字之差"]},
                   {"author": "甲", "title": "长", "paragraphs": [)" + poemLines + R"(], "notes": ["全同"]}])");
  const auto notes = notesByPoem(corpus);
  EXPECT_EQ(notes.at("甲长一二三四五。"), "全同");
}
