#include <gtest/gtest.h>

#include <string>

#include "platform/text/AnsiText.h"
#include "platform/text/InputSimplifier.h"

using text::InputSimplifier;

TEST(InputSimplifier, LeavesEveryCharacterOfGb2312AndSimplifiedWordsAsTyped) {
  const InputSimplifier simplify;
  // 乾, 於, 後, 夥 … are characters of simplified writing as well; t2s alone would rewrite them.
  for (const char* word : {"李白", "乾坤", "皇后", "于是", "干", "乾", "於", "後", "乾隆", "著名", "天干", "余", "伙",
                           "静夜思", "明月 ab", "包含字", ""}) {
    EXPECT_EQ(simplify(word), word);
  }
  int characters = 0;
  for (int lead = 0xA1; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const std::string ansi{static_cast<char>(lead), static_cast<char>(trail)};
      if (!text::isValidAnsi(ansi)) continue;
      const std::string utf8 = text::ansiToUtf8(ansi);
      ++characters;
      EXPECT_EQ(simplify(utf8), utf8) << std::hex << lead << trail;
    }
  }
  EXPECT_GT(characters, 7000);
  EXPECT_FALSE(simplify.Loaded()) << "simplified input never loads the conversion";
}

TEST(InputSimplifier, ConvertsInputWithATraditionalCharacterWholeAsTheBuilderDid) {
  const InputSimplifier simplify;
  EXPECT_EQ(simplify("靜夜思"), "静夜思");
  EXPECT_TRUE(simplify.Loaded());
  EXPECT_EQ(simplify("春風"), "春风");
  EXPECT_EQ(simplify("李白 靜夜思"), "李白 静夜思") << "mixed: the simplified part stays";
  EXPECT_EQ(simplify("於是春風"), "于是春风") << "in traditional input 於 is traditional too";
  EXPECT_EQ(simplify("乾坤萬里"), "乾坤万里") << "the conversion's phrases keep 乾坤";
  EXPECT_EQ(simplify("紅鑪"), "红鑪") << "kept where code page 936 lacks the simplified form";
  EXPECT_EQ(simplify("鑪"), "鑪");
}

TEST(InputSimplifier, TakesDamagedAndForeignInputWithoutHarm) {
  const InputSimplifier simplify;
  EXPECT_EQ(simplify("静😀"), "静😀") << "a character the code page lacks is left as it was";
  EXPECT_EQ(simplify("\xE9\x9D"), "\xE9\x9D") << "a cut sequence stays as given when nothing converts";
  const std::string damaged = "靜\xFF\xC0\x80夜";
  const std::string out = simplify(damaged);
  EXPECT_EQ(out.substr(0, 3), "静");
  EXPECT_EQ(out.substr(out.size() - 3), "夜");
  const std::string long_input(1 << 16, 'a');
  EXPECT_EQ(simplify(long_input + "風"), long_input + "风");
}
