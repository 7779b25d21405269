// Reading a text by a small dictionary written as the file format has it: the most probable
// words, the characters' own readings, citation tones, the classical readings, traditional and
// unknown characters, and the line sici-pinyin prints.

#include <gtest/gtest.h>

#include "platform/text/PinyinLine.h"
#include "tests/pinyin/pinyin_fixture.h"

using pinyin_test::Readings;
using pinyin_test::ReaderOf;

TEST(PinyinReading, TakesTheMostProbableWordsNotTheLongestFirst) {
  // 银行长: 银行 + 长 begins with the longer word, but 银 + 行长 is the more probable pair.
  const auto reader = ReaderOf({"银\tyín\t1e-08", "行\txíng\t2e-08", "长\tcháng\t4e-08", "银行\tyín háng\t5e-09",
                                "行长\tháng zhǎng\t1e-07"});
  EXPECT_EQ(Readings(*reader, "银行长"), "yín|háng|zhǎng");
  EXPECT_EQ(Readings(*reader, "银行"), "yín|háng");
  EXPECT_EQ(Readings(*reader, "长行"), "cháng|xíng") << "no word: each character its own reading";

  const auto rarer = ReaderOf({"银\tyín\t1e-08", "行\txíng\t2e-08", "长\tcháng\t4e-08", "银行\tyín háng\t5e-09",
                               "行长\tháng zhǎng\t1e-09"});
  EXPECT_EQ(Readings(*rarer, "银行长"), "yín|háng|cháng");
}

TEST(PinyinReading, WeighsAWordAgainstItsCharactersAlone) {
  EXPECT_EQ(Readings(*ReaderOf({"长\tcháng\t4e-08", "大\tdà\t1e-07", "长大\tzhǎng dà\t1e-09"}), "长大"), "zhǎng|dà");
  EXPECT_EQ(Readings(*ReaderOf({"长\tcháng\t4e-08", "大\tdà\t1e-07", "长大\tzhǎng dà\t1e-20"}), "长大"), "cháng|dà")
      << "a word rarer than its characters together loses to them";
}

TEST(PinyinReading, LeavesCharactersWithoutAReadingEmptyAndReadsAroundThem) {
  const auto reader = ReaderOf({"明\tmíng\t1.2e-08", "月\tyuè\t2e-08", "明月\tmíng yuè\t1.1e-09", "月光\tyuè guāng\t5e-10",
                                "光\tguāng\t1e-08"});
  EXPECT_EQ(Readings(*reader, "明月，光"), "míng|yuè||guāng");
  EXPECT_EQ(Readings(*reader, "明A月 光"), "míng||yuè||guāng");
  EXPECT_EQ(Readings(*reader, "明鿭光"), "míng||guāng") << "a Chinese character the dictionary lacks";
  EXPECT_EQ(Readings(*reader, "月光明"), "yuè|guāng|míng");
  EXPECT_EQ(Readings(*reader, ""), "");
  EXPECT_EQ(Readings(*reader, "\xF0\x9F\x8C\x99月"), "|yuè") << "a character beyond the basic plane is one character";
}

TEST(PinyinReading, GivesEverySyllableItsOwnTone) {
  const auto reader =
      ReaderOf({"一\tyī\t2e-07", "一丁\tyì dīng\t1.8e-11", "丁\tdīng\t1e-09", "一个\tyí gè\t1.4e-07", "个\tgè\t1e-08",
                "一一\tyī yī\t1.6e-09", "不\tbù\t1e-07", "不是\tbú shì\t4.6e-08", "是\tshì\t1e-07", "不了\tbu liǎo\t1e-09",
                "了\tle\t8e-07", "妃子\tfēi zi\t1e-10", "妃\tfēi\t1e-09", "子\tzǐ\t1e-08", "点儿\tdiǎn er\t1e-09",
                "点\tdiǎn\t1e-08", "儿\tér\t1e-08", "慢地\tmàn de\t1e-10", "慢\tmàn\t1e-09", "地\tdì\t1e-07",
                "去了\tqù le\t1e-09", "去\tqù\t1e-08"});
  EXPECT_EQ(Readings(*reader, "一丁"), "yī|dīng");
  EXPECT_EQ(Readings(*reader, "一个"), "yī|gè");
  EXPECT_EQ(Readings(*reader, "不是"), "bù|shì");
  EXPECT_EQ(Readings(*reader, "不了"), "bù|liǎo");
  EXPECT_EQ(Readings(*reader, "妃子"), "fēi|zǐ") << "no tone: the character's own reading";
  EXPECT_EQ(Readings(*reader, "点儿"), "diǎn|ér");
  EXPECT_EQ(Readings(*reader, "慢地"), "màn|de") << "dì is another syllable, not de with a tone";
  EXPECT_EQ(Readings(*reader, "去了"), "qù|le") << "了's own reading has no tone either";
}

TEST(PinyinReading, ClassicalReadingsTakePrecedenceOverTheDictionary) {
  const auto reader = ReaderOf({"朝\tcháo\t1.5e-08", "辞\tcí\t1e-09", "还\thái\t1.6e-07", "何\thé\t1e-08",
                                "时\tshí\t1e-07", "何时\thé shí\t1e-09", "单\tdān\t1e-08", "于\tyú\t1e-07",
                                "朝朝\tcháo cháo\t1e-10", "暮\tmù\t1e-09"});
  EXPECT_EQ(Readings(*reader, "朝辞"), "zhāo|cí");
  EXPECT_EQ(Readings(*reader, "朝"), "cháo") << "only the phrase of the classical sense";
  EXPECT_EQ(Readings(*reader, "何时还"), "hé|shí|huán");
  EXPECT_EQ(Readings(*reader, "还"), "hái");
  EXPECT_EQ(Readings(*reader, "单于"), "chán|yú");
  EXPECT_EQ(Readings(*reader, "朝朝暮暮"), "zhāo|zhāo|mù|mù") << "the longest phrase, over the dictionary's 朝朝";
  EXPECT_EQ(Readings(*reader, "阏氏"), "yān|zhī") << "also for characters the dictionary lacks";
}

TEST(PinyinReading, ReadsTraditionalCharactersThroughTheirSimplifiedForms) {
  const auto reader = ReaderOf({"长\tcháng\t4e-08", "安\tān\t1e-08", "长安\tcháng ān\t1e-09", "长大\tzhǎng dà\t1e-09",
                                "大\tdà\t1e-07", "萬\twàn\t2e-12", "乾坤\tqián kūn\t1e-10", "坤\tkūn\t1e-10",
                                "干\tgān\t1e-08"});
  EXPECT_EQ(Readings(*reader, "長安"), "cháng|ān");
  EXPECT_EQ(Readings(*reader, "長大"), "zhǎng|dà") << "the simplified word, not the characters one by one";
  EXPECT_EQ(Readings(*reader, "萬"), "wàn") << "only in its traditional form in the dictionary";
  EXPECT_EQ(Readings(*reader, "乾坤"), "qián|kūn") << "the conversion keeps 乾 in 乾坤";
  EXPECT_EQ(Readings(*reader, "單于"), "chán|yú") << "classical readings through the simplified form too";
  EXPECT_EQ(Readings(*reader, "𤩪萬"), "|wàn") << "no reading in either form";
}

TEST(PinyinLine, SeparatesSyllablesByBlanksAndKeepsTheRestAsWritten) {
  const auto reader = ReaderOf({"床\tchuáng\t1e-08", "前\tqián\t1e-08", "明\tmíng\t1e-08", "月\tyuè\t1e-08",
                                "光\tguāng\t1e-08", "唐\ttáng\t1e-08", "诗\tshī\t1e-08", "首\tshǒu\t1e-08"});
  EXPECT_EQ(text::PinyinLine(*reader, "床前明月光"), "chuáng qián míng yuè guāng");
  EXPECT_EQ(text::PinyinLine(*reader, "明月，光"), "míng yuè，guāng");
  EXPECT_EQ(text::PinyinLine(*reader, "明月, 光"), "míng yuè, guāng");
  EXPECT_EQ(text::PinyinLine(*reader, "明月 光"), "míng yuè guāng") << "the text's blank, no second one";
  EXPECT_EQ(text::PinyinLine(*reader, "唐诗300首"), "táng shī 300 shǒu");
  EXPECT_EQ(text::PinyinLine(*reader, "ABC明"), "ABC míng");
  EXPECT_EQ(text::PinyinLine(*reader, "明鿭鿭光"), "míng 鿭 鿭 guāng") << "Chinese characters without a reading";
  EXPECT_EQ(text::PinyinLine(*reader, "《明月》"), "《míng yuè》");
  EXPECT_EQ(text::PinyinLine(*reader, "a,b"), "a,b");
}
