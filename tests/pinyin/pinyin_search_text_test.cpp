// A text's syllables in the form the collection stores them for the pinyin search.

#include <gtest/gtest.h>

#include "platform/text/CodePoints.h"
#include "platform/text/PinyinSearchText.h"
#include "tests/pinyin/pinyin_fixture.h"

using pinyin_test::ReaderOf;

namespace {

std::string searchSyllables(const text::PinyinReader& reader, std::string_view utf8) {
  return text::SearchSyllables(reader, text::utf8ToCodePoints(utf8));
}

}  // namespace

TEST(PinyinSearchText, TonelessAsciiSyllablesWithUmlautAsVSeparatedBySingleBlanks) {
  const auto reader = ReaderOf({"静\tjìng\t1e-06", "夜\tyè\t1e-06", "思\tsī\t1e-06", "绿\tlǜ\t1e-06", "女\tnǚ\t1e-06",
                                "略\tlüè\t1e-06", "吕\tlǚ\t1e-06", "嗯\tń\t1e-06", "呣\tḿ\t1e-06", "驴\tlǘ\t1e-06",
                                "律\tlǜ\t1e-06", "旅\tlü\t1e-06"});
  EXPECT_EQ(searchSyllables(*reader, "静夜思"), "jing ye si");
  EXPECT_EQ(searchSyllables(*reader, "绿女略吕驴律旅"), "lv nv lve lv lv lv lv");
  EXPECT_EQ(searchSyllables(*reader, "嗯呣"), "n m");
}

TEST(PinyinSearchText, CharactersWithoutAReadingLeaveNothingBehind) {
  const auto reader = ReaderOf({"静\tjìng\t1e-06", "夜\tyè\t1e-06", "思\tsī\t1e-06"});
  EXPECT_EQ(searchSyllables(*reader, "（静·夜）  思。"), "jing ye si");
  EXPECT_EQ(searchSyllables(*reader, "A静1夜 b思Z"), "jing ye si");
  EXPECT_EQ(searchSyllables(*reader, "静〓鿭思"), "jing si") << "the geta mark and a character the dictionary lacks";
  EXPECT_EQ(searchSyllables(*reader, "ABC 123，"), "");
  EXPECT_EQ(searchSyllables(*reader, ""), "");
}
