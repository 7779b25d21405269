// The dictionary file: lookups, writing, and the refusal of damaged files with the line and the
// fault named.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/text/PinyinDictionary.h"
#include "tests/pinyin/pinyin_fixture.h"

using pinyin_test::DictionaryText;
using pinyin_test::ReadFile;
using pinyin_test::TempFolder;
using pinyin_test::WriteFile;
using text::PinyinDictionary;
using text::PinyinDictionaryError;

namespace {

std::string times(std::string_view s, int n) {
  std::string out;
  while (n-- > 0) out += s;
  return out;
}

std::string refusal(const std::string& bytes) {
  try {
    PinyinDictionary::Parse(bytes, "test.pinyin");
  } catch (const PinyinDictionaryError& e) {
    return e.what();
  }
  return "accepted";
}

}  // namespace

TEST(PinyinDictionary, FindsAWordAndWhetherLongerWordsBeginWithIt) {
  const PinyinDictionary d = PinyinDictionary::Parse(
      DictionaryText({"明\tmíng\t1.2e-08", "明月\tmíng yuè\t1.1e-09", "明月光\tmíng yuè guāng\t3e-12", "月\tyuè\t2e-08",
                      "月光\tyuè guāng\t5e-10", "明日\tmíng rì\t4e-09"}),
      "test");
  ASSERT_EQ(d.size(), 6u);

  const PinyinDictionary::Match ming = d.Lookup("明");
  ASSERT_TRUE(ming.Exact);
  EXPECT_EQ(ming.Exact->Reading, "míng");
  EXPECT_NEAR(ming.Exact->LogRate, std::log(1.2e-08), 1e-5);
  EXPECT_TRUE(ming.Longer);

  const PinyinDictionary::Match mingyue = d.Lookup("明月");
  ASSERT_TRUE(mingyue.Exact);
  EXPECT_EQ(mingyue.Exact->Reading, "míng yuè");
  EXPECT_TRUE(mingyue.Longer) << "明月光 begins with it, though 明日 sorts between";

  const PinyinDictionary::Match full = d.Lookup("明月光");
  ASSERT_TRUE(full.Exact);
  EXPECT_EQ(full.Exact->Reading, "míng yuè guāng");
  EXPECT_FALSE(full.Longer);

  EXPECT_FALSE(d.Lookup("光").Exact);
  EXPECT_FALSE(d.Lookup("光").Longer);
  EXPECT_FALSE(d.Lookup("明天").Exact);
  EXPECT_FALSE(d.Lookup("明天").Longer);
}

TEST(PinyinDictionary, WritesSortedLinesThatLoadBack) {
  const TempFolder folder;
  const auto file = folder.path() / "sici.pinyin";
  text::WritePinyinDictionary(file, {{"月", "yuè", 2e-08}, {"单于", "chán yú", 2.2e-10}, {"一", "yī", 2.1783e-07}});
  EXPECT_EQ(ReadFile(file), "sici.pinyin 1\n一\tyī\t2.1783e-07\n单于\tchán yú\t2.2e-10\n月\tyuè\t2e-08\n");
  const PinyinDictionary d = PinyinDictionary::Load(file);
  ASSERT_TRUE(d.Lookup("单于").Exact);
  EXPECT_EQ(d.Lookup("单于").Exact->Reading, "chán yú");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "sici.pinyin.part"));
}

TEST(PinyinDictionary, RefusesAWrongEntryAndKeepsTheFormerFile) {
  const TempFolder folder;
  const auto file = folder.path() / "sici.pinyin";
  text::WritePinyinDictionary(file, {{"月", "yuè", 2e-08}});
  const std::string former = ReadFile(file);

  EXPECT_THROW(text::WritePinyinDictionary(file, {{"月", "yuè", 2e-08}, {"月", "yuè", 1e-08}}), PinyinDictionaryError);
  EXPECT_THROW(text::WritePinyinDictionary(file, {{"单于", "chán", 2e-10}}), PinyinDictionaryError);
  EXPECT_THROW(text::WritePinyinDictionary(file, {{"月", "Yuè", 2e-08}}), PinyinDictionaryError);
  EXPECT_THROW(text::WritePinyinDictionary(file, {{"月", "yuè", 0}}), PinyinDictionaryError);
  EXPECT_EQ(ReadFile(file), former);
}

TEST(PinyinDictionary, RefusesDamagedFilesNamingTheLineAndTheFault) {
  const std::string head = "sici.pinyin 1\n";
  const struct {
    std::string Bytes;
    std::string Message;
  } cases[] = {
      {"", "line 1: this is not a pinyin dictionary"},
      {"sici.pinyin 2\n月\tyuè\t2e-08\n", "line 1: this is not a pinyin dictionary"},
      {"\xEF\xBB\xBFsici.pinyin 1\n", "line 1: this is not a pinyin dictionary"},
      {head + "月\tyuè\t2e-08", "line 2: the file is cut short"},
      {head + "月\tyuè\t2e-08\n明\tmíng", "line 3: the file is cut short"},
      {head + "月 yuè 2e-08\n", "line 2: the line is not a word, a reading and a rate"},
      {head + "月\tyuè\n", "line 2: the line is not a word, a reading and a rate"},
      {head + "月\tyuè\t2e-08\t\n", "line 2: the rate is not a number"},
      {head + "月\tyuè\t2e-08\r\n", "line 2: the rate is not a number"},
      {head + "月\tyuè\t\n", "line 2: the rate is not a number"},
      {head + "月\tyuè\t1e-400\n", "line 2: the rate is not a number"},
      {head + "月\tyuè\t0\n", "line 2: the rate is not above 0"},
      {head + "月\tyuè\t-1e-08\n", "line 2: the rate is not above 0"},
      {head + "月\tyuè\t1.5\n", "line 2: the rate is not above 0"},
      {head + "月\tyuè\tnan\n", "line 2: the rate is not above 0"},
      {head + "月\tyuè\tinf\n", "line 2: the rate is not above 0"},
      {head + "\tyuè\t2e-08\n", "line 2: the word is empty"},
      {head + "月a\tyuè a\t2e-08\n", "line 2: the word holds an ASCII character"},
      {head + "\xE6\x9C\tyuè\t2e-08\n", "line 2: the word is not UTF-8"},
      {head + "\xC0\xAF\tyuè\t2e-08\n", "line 2: the word is not UTF-8"},
      {head + "\xED\xA0\x80\tyuè\t2e-08\n", "line 2: the word is not UTF-8"},
      {head + times("月", 33) + "\t" + times("yuè ", 32) + "yuè\t2e-08\n", "line 2: the word is longer than 32 characters"},
      {head + "单于\tchán  yú\t2e-10\n", "line 2: the reading has an empty syllable"},
      {head + "单于\tchán yú \t2e-10\n", "line 2: the reading has an empty syllable"},
      {head + "月\t\t2e-08\n", "line 2: the reading has an empty syllable"},
      {head + "月\tyuèèèèèèèèè\t2e-08\n", "line 2: the reading has a syllable too long"},
      {head + "月\tYuè\t2e-08\n", "line 2: the reading holds a character that is no pinyin letter"},
      {head + "月\tyue4\t2e-08\n", "line 2: the reading holds a character that is no pinyin letter"},
      {head + "月\tyu\xC3\t2e-08\n", "line 2: the reading holds a character that is no pinyin letter"},
      {head + "单于\tchán\t2e-10\n", "line 2: the reading does not have one syllable a character"},
      {head + "月\tyuè yuè\t2e-08\n", "line 2: the reading does not have one syllable a character"},
      {head + "月\tyuè\t2e-08\n明\tmíng\t1e-08\n", "line 3: the word is out of order"},
      {head + "月\tyuè\t2e-08\n月\tyuè\t1e-08\n", "line 3: the word is out of order or the same"},
  };
  for (const auto& c : cases)
    EXPECT_NE(refusal(c.Bytes).find("test.pinyin, " + c.Message), std::string::npos)
        << "input: " << c.Bytes << "\nrefusal: " << refusal(c.Bytes);
  EXPECT_EQ(refusal(head), "accepted") << "a dictionary of no words is one";
  EXPECT_EQ(refusal(head + times("月", 32) + "\t" + times("yuè ", 31) + "yuè\t2e-08\n"), "accepted");
}

TEST(PinyinDictionary, RefusesMissingAndOversizedFilesBeforeReadingThem) {
  const TempFolder folder;
  const auto missing = folder.path() / "sici.pinyin";
  try {
    PinyinDictionary::Load(missing);
    FAIL() << "a missing file loaded";
  } catch (const PinyinDictionaryError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(missing.string() + ": cannot be read (", 0), 0u) << e.what();
  }
  EXPECT_THROW(PinyinDictionary::Load(folder.path()), PinyinDictionaryError) << "a folder";

  // A sparse file just over the limit: refused by its size, never read into memory.
  const auto huge = folder.path() / "huge.pinyin";
  WriteFile(huge, "sici.pinyin 1\n");
  std::filesystem::resize_file(huge, PinyinDictionary::kMaxFileBytes + 1);
  try {
    PinyinDictionary::Load(huge);
    FAIL() << "an oversized file loaded";
  } catch (const PinyinDictionaryError& e) {
    EXPECT_NE(std::string(e.what()).find("larger than any pinyin dictionary"), std::string::npos) << e.what();
  }
}
