// Pinyin as people type it against syllables as the collection stores them.

#include <gtest/gtest.h>

#include "platform/text/PinyinMatch.h"

using text::IsPinyinInput;
using text::PinyinQuery;

TEST(PinyinInput, OnlyLettersBlanksAndApostrophesWithALetterAskForPinyin) {
  for (const char* yes : {"jys", "JingYeSi", "jing ye si", "xi'an", " lb ", "a"}) EXPECT_TRUE(IsPinyinInput(yes)) << yes;
  for (const char* no : {"", "   ", "''", "jys1", "静夜思", "jing-ye", "li bai.", "jìng", "\xbe\xb2"})
    EXPECT_FALSE(IsPinyinInput(no)) << no;
}

TEST(PinyinMatch, WholeSyllablesInitialsAndMixesFindTheTitle) {
  const char* title = "jing ye si";
  for (const char* typed : {"jingyesi", "jing ye si", "JYS", "jys", "jingys", "jyesi", "jing'ye'si", "yesi", "ys", "si"})
    EXPECT_TRUE(PinyinQuery(typed).Matches(title)) << typed;
  for (const char* typed : {"jingyesix", "jsy", "jyes i", "jin gyesi", "yejing", "jingye si si", "q"})
    EXPECT_FALSE(PinyinQuery(typed).Matches(title)) << typed;
}

TEST(PinyinMatch, AGroupNeverEndsInsideASyllableNorSpansAGap) {
  // "xian" is one syllable; "xi an" two: a blank or an apostrophe says where one ends.
  EXPECT_TRUE(PinyinQuery("xian").Matches("xian yang"));
  EXPECT_TRUE(PinyinQuery("xian").Matches("xi an"));
  EXPECT_TRUE(PinyinQuery("xi'an").Matches("xi an"));
  EXPECT_FALSE(PinyinQuery("xi'an").Matches("xian yang"));
  EXPECT_FALSE(PinyinQuery("x ian").Matches("xian"));
  // Syllables must be consecutive: 李白 inside 赠李白 but not 李 ... 白.
  EXPECT_TRUE(PinyinQuery("libai").Matches("zeng li bai"));
  EXPECT_TRUE(PinyinQuery("lb").Matches("zeng li bai"));
  EXPECT_FALSE(PinyinQuery("lb").Matches("li zeng bai"));
}

TEST(PinyinMatch, FromTheStartAnchorsAtTheFirstSyllable) {
  EXPECT_TRUE(PinyinQuery("jy").Matches("jing ye si", true));
  EXPECT_FALSE(PinyinQuery("ys").Matches("jing ye si", true));
  EXPECT_TRUE(PinyinQuery("ys").Matches("jing ye si", false));
}

TEST(PinyinMatch, UForUmlautAndManyPrefixChoicesStayQuick) {
  EXPECT_TRUE(PinyinQuery("lu").Matches("lv shui"));
  EXPECT_TRUE(PinyinQuery("lvs").Matches("lv shui"));
  EXPECT_FALSE(PinyinQuery("lv").Matches("lu shui")) << "a typed v is only ü";
  // A damaged table whose syllables repeat one letter lets every syllable take one to four letters
  // of the input: the search must not try each of the 4^40 splits.
  std::string syllables;
  for (int i = 0; i < 40; ++i) syllables += "aaaa ";
  EXPECT_FALSE(PinyinQuery(std::string(100, 'a') + "b").Matches(syllables));
  EXPECT_TRUE(PinyinQuery(std::string(100, 'a')).Matches(syllables));
  EXPECT_FALSE(PinyinQuery("zhuangzhuang").Matches(""));
}
