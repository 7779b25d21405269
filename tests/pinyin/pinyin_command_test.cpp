// sici-pinyin and sici-pinyin-dict run as real processes: lines printed with the dictionary beside
// the program, the dictionary's absence, and the converter over a small data package.

#include <gtest/gtest.h>

#include "platform/text/PinyinDictionary.h"
#include "tests/pinyin/pinyin_fixture.h"

namespace fs = std::filesystem;
using pinyin_test::DictionaryText;
using pinyin_test::ReadFile;
using pinyin_test::RealDictionaryFile;
using pinyin_test::RunProgram;
using pinyin_test::TempFolder;
using pinyin_test::WriteFile;

namespace {

// A copy of sici-pinyin in a folder of its own.
fs::path programIn(const TempFolder& folder) {
  const fs::path program = folder.path() / "sici-pinyin";
  fs::copy_file(SICI_PINYIN, program);
  return program;
}

}  // namespace

TEST(PinyinCommand, PrintsFamousLinesWithTheBuiltDictionary) {
  if (RealDictionaryFile().empty()) GTEST_SKIP() << "configured without SICI_PINYIN_DATA_DIR";
  const TempFolder elsewhere;
  const pinyin_test::Run run =
      RunProgram(SICI_PINYIN, {"床前明月光", "明月, 光", "朝辞白帝彩云间", "Li Bai 李白"}, elsewhere.path());
  EXPECT_EQ(run.Exit, 0) << run.Errors;
  EXPECT_EQ(run.Output, "chuáng qián míng yuè guāng\nmíng yuè, guāng\nzhāo cí bái dì cǎi yún jiān\nLi Bai lǐ bái\n");
}

TEST(PinyinCommand, ReadsTheDictionaryBesideItselfNotInTheCurrentFolder) {
  const TempFolder folder;
  const fs::path program = programIn(folder);
  WriteFile(folder.path() / "sici.pinyin", DictionaryText({"月\tyuè\t2e-08", "明\tmíng\t1e-08"}));
  const TempFolder elsewhere;
  WriteFile(elsewhere.path() / "sici.pinyin", DictionaryText({"月\tyue\t2e-08"}));
  const pinyin_test::Run run = RunProgram(program, {"明月", "月"}, elsewhere.path());
  EXPECT_EQ(run.Exit, 0) << run.Errors;
  EXPECT_EQ(run.Output, "míng yuè\nyuè\n");
}

TEST(PinyinCommand, SaysPinyinIsUnavailableWithoutASoundDictionary) {
  const TempFolder folder;
  const fs::path program = programIn(folder);
  const pinyin_test::Run missing = RunProgram(program, {"明月"});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_EQ(missing.Output, "");
  EXPECT_NE(missing.Errors.find("pinyin is unavailable: " + (folder.path() / "sici.pinyin").string() + ": cannot be read"),
            std::string::npos)
      << missing.Errors;

  WriteFile(folder.path() / "sici.pinyin", "sici.pinyin 1\n月\tyuè\t2e-08\n明\tmíng\t1e-08\n");
  const pinyin_test::Run damaged = RunProgram(program, {"明月"});
  EXPECT_EQ(damaged.Exit, 1);
  EXPECT_NE(damaged.Errors.find("sici.pinyin, line 3: the word is out of order"), std::string::npos) << damaged.Errors;

  const pinyin_test::Run bare = RunProgram(program, {});
  EXPECT_EQ(bare.Exit, 2);
  EXPECT_NE(bare.Errors.find("usage: sici-pinyin TEXT"), std::string::npos);
}

TEST(PinyinDictionaryConverter, WritesTheWordsAndTheCharactersOnlyFoundInsideThem) {
  const TempFolder package;
  fs::create_directory(package.path() / "json");
  WriteFile(package.path() / "json" / "complete.json",
            R"({"长": ["cháng", 4.0281e-08], "一丁": ["yì dīng", 1.8e-11], "丁": ["dīng", 1e-09], "一": ["yī", 2e-07],
                "不是": ["bú shì", 4.6e-08], "不对": ["bù duì", 1e-09], "不要": ["bú yào", 1e-08],
                "是": ["shì", 1e-07], "对": ["duì", 1e-08]})");
  WriteFile(package.path() / "json" / "chars.json", R"({"鿭": "nǐ", "长": "zhǎng"})");
  const TempFolder out;
  const fs::path file = out.path() / "sici.pinyin";
  const pinyin_test::Run run =
      RunProgram(SICI_PINYIN_DICT, {"--package", package.path().string(), "--out", file.string()});
  ASSERT_EQ(run.Exit, 0) << run.Errors;
  // 不 and 要 only occur in words, 不 read bú by the most of them; 鿭 from chars.json at the
  // smallest rate; 长 keeps complete.json's reading.
  EXPECT_EQ(ReadFile(file),
            "sici.pinyin 1\n一\tyī\t2e-07\n一丁\tyì dīng\t1.8e-11\n丁\tdīng\t1e-09\n不\tbú\t5.6e-08\n"
            "不对\tbù duì\t1e-09\n不是\tbú shì\t4.6e-08\n不要\tbú yào\t1e-08\n对\tduì\t1e-08\n"
            "是\tshì\t1e-07\n要\tyào\t1e-08\n长\tcháng\t4.0281e-08\n鿭\tnǐ\t1.8e-11\n");
}

TEST(PinyinDictionaryConverter, LeavesTheFormerDictionaryWhenThePackageIsDamaged) {
  const TempFolder package;
  fs::create_directory(package.path() / "json");
  WriteFile(package.path() / "json" / "chars.json", "{}");
  const TempFolder out;
  const fs::path file = out.path() / "sici.pinyin";
  WriteFile(file, DictionaryText({"月\tyuè\t2e-08"}));
  const std::string former = ReadFile(file);
  const struct {
    std::string Complete;
    std::string Message;
  } cases[] = {
      {R"({"长": ["cháng"]})", "the word 长 is not [reading, rate]"},
      {R"({"长": ["cháng", 4e-08)", "complete.json: [json.exception.parse_error"},
      {R"({"单于": ["chán", 2.2e-10]})", "the word 单于 cannot be written: the reading does not have one syllable a character"},
      {R"({"长": ["cháng", 0]})", "the word 长 cannot be written: the rate is not above 0"},
  };
  for (const auto& c : cases) {
    WriteFile(package.path() / "json" / "complete.json", c.Complete);
    const pinyin_test::Run run =
        RunProgram(SICI_PINYIN_DICT, {"--package", package.path().string(), "--out", file.string()});
    EXPECT_EQ(run.Exit, 1) << c.Complete;
    EXPECT_NE(run.Errors.find(c.Message), std::string::npos) << run.Errors;
    EXPECT_EQ(ReadFile(file), former);
  }
}
