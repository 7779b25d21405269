#include <gtest/gtest.h>

#include <sstream>

#include "tools/collection/Summary.h"

using namespace collection;

namespace {

StoredPoem stored(std::string dynasty, std::string notes, std::string translation, std::string appreciation,
                  std::string genre, std::string category) {
  StoredPoem s;
  s.poem.dynasty = std::move(dynasty);
  s.poem.notes = std::move(notes);
  s.poem.translation = std::move(translation);
  s.poem.appreciation = std::move(appreciation);
  s.genre = std::move(genre);
  s.category = std::move(category);
  return s;
}

const DynastyFigures& row(const Summary& s, const std::string& dynasty) {
  for (const DynastyFigures& r : s.dynasties)
    if (r.dynasty == dynasty) return r;
  throw std::out_of_range(dynasty);
}

}  // namespace

TEST(Summary, CountsPoetsPoemsAndTheirTextsUnderEachEntryOfTheDynastyList) {
  Collection c;
  c.poems = {stored("先秦", "", "", "", "四古", ""),    stored("唐", "注", "", "赏", "五绝", "送别"),
             stored("唐", "", "译", "", "七律", ""),    stored("唐", "注", "译", "赏", "七律", "山水"),
             stored("五代", "注", "", "", "词", "闺情")};
  c.poets = {{"佚名", "先秦", ""}, {"李白", "唐", ""}, {"杜甫", "唐", ""}, {"韦庄", "五代", ""}};
  c.keptOriginals = 7;
  const Summary s = summarise(c, WriteReport{3});

  ASSERT_EQ(s.dynasties.size(), 15u);
  for (std::size_t i = 0; i < s.dynasties.size(); ++i) EXPECT_EQ(s.dynasties[i].dynasty, dynastyWords()[i]);
  EXPECT_EQ(s.dynasties.front().dynasty, "秦");
  EXPECT_EQ(s.dynasties.back().dynasty, "现代");

  const DynastyFigures& qin = row(s, "秦");
  EXPECT_EQ(qin.poets, 1u) << "先秦 is found under 秦";
  EXPECT_EQ(qin.poems, 1u);
  const DynastyFigures& tang = row(s, "唐");
  EXPECT_EQ(tang.poets, 2u);
  EXPECT_EQ(tang.poems, 3u);
  EXPECT_EQ(tang.notes, 2u);
  EXPECT_EQ(tang.translations, 2u);
  EXPECT_EQ(tang.appreciations, 2u);
  EXPECT_EQ(row(s, "五代").notes, 1u);
  EXPECT_EQ(row(s, "明").poems, 0u);
  EXPECT_EQ(row(s, "明").poets, 0u);

  EXPECT_EQ(s.all.poems, 5u);
  EXPECT_EQ(s.all.poets, 4u);
  EXPECT_EQ(s.all.notes, 3u);
  EXPECT_EQ(s.all.translations, 2u);
  EXPECT_EQ(s.all.appreciations, 2u);
  EXPECT_EQ(s.uncategorised, 2u);
  EXPECT_EQ(s.genres.at("七律"), 2u);
  EXPECT_EQ(s.keptOriginals, 7u);
  EXPECT_EQ(s.replacedCharacters, 3u);
}

TEST(Summary, PrintsOneRowPerDynastyAndTheCharacterCounts) {
  Collection c;
  c.poems = {stored("唐", "注", "", "", "五绝", "")};
  c.poets = {{"李白", "唐", ""}};
  c.keptOriginals = 12;
  std::ostringstream out;
  printSummary(out, summarise(c, WriteReport{34}));
  const std::string text = out.str();
  std::istringstream lines(text);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_GE(rows.size(), 19u) << text;
  EXPECT_EQ(rows[2].find("dynasty"), 0u) << text;
  EXPECT_EQ(rows[3].find("秦 "), 0u) << "the list's first entry, with nothing in it";
  EXPECT_NE(rows[8].find("唐"), std::string::npos);
  std::istringstream tang(rows[8]);
  std::string word;
  std::vector<std::string> cells;
  while (tang >> word) cells.push_back(word);
  EXPECT_EQ(cells, (std::vector<std::string>{"唐", "1", "1", "1", "0", "0"}));
  EXPECT_EQ(rows[18].find("all"), 0u);
  EXPECT_NE(text.find("without category: 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find(": 12\n"), std::string::npos) << text;
  EXPECT_NE(text.find(": 34\n"), std::string::npos) << text;
}
