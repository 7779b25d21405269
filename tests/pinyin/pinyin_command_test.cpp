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

TEST(PinyinDictionaryConverter, ReadsCharactersThePackageLacksThroughUnihan) {
  const TempFolder package;
  fs::create_directory(package.path() / "json");
  WriteFile(package.path() / "json" / "complete.json",
            R"({"答": ["dá", 1e-08], "剑": ["jiàn", 2e-08], "郎": ["láng", 3e-08]})");
  WriteFile(package.path() / "json" / "chars.json", "{}");
  const TempFolder unihan;
  // 荅's semantic variant 答 wins over its own kMandarin dā; 劒 reads through 劍, which the package
  // only holds simplified; 樛 has no variant with a reading and keeps Unihan's; 答 keeps the
  // package's; the compatibility ideograph U+F92C reads as 郎.
  WriteFile(unihan.path() / "Unihan_Variants.txt",
            "# Unihan_Variants.txt\n\nU+8345\tkSemanticVariant\tU+7B54<kLau,kMeyerWempe\n"
            "U+5292\tkSemanticVariant\tU+528D<kMatthews\nU+6A1B\tkZVariant\tU+9FA0\n");
  WriteFile(unihan.path() / "Unihan_IRGSources.txt", "U+F92C\tkCompatibilityVariant\tU+90CE\nU+F92C\tkTotalStrokes\t9\n");
  WriteFile(unihan.path() / "Unihan_Readings.txt",
            "U+5292\tkMandarin\tjiàn\nU+6A1B\tkMandarin\tjiū\nU+7B54\tkMandarin\tdā\nU+8345\tkMandarin\tdā dá\n");
  const TempFolder out;
  const fs::path file = out.path() / "sici.pinyin";
  const std::vector<std::string> args = {"--package", package.path().string(), "--unihan", unihan.path().string(),
                                         "--out", file.string()};
  const pinyin_test::Run run = RunProgram(SICI_PINYIN_DICT, args);
  ASSERT_EQ(run.Exit, 0) << run.Errors;
  EXPECT_EQ(ReadFile(file), "sici.pinyin 1\n剑\tjiàn\t2e-08\n劒\tjiàn\t1e-08\n樛\tjiū\t1e-08\n答\tdá\t1e-08\n荅\tdá\t1e-08\n郎\tláng\t3e-08\n\uF92C\tláng\t1e-08\n");

  const std::string former = ReadFile(file);
  WriteFile(unihan.path() / "Unihan_Readings.txt", "U+6A1B\tkMandarin\tjiū\nU+XYZ\tkMandarin\tdā\n");
  const pinyin_test::Run damaged = RunProgram(SICI_PINYIN_DICT, args);
  EXPECT_EQ(damaged.Exit, 1);
  EXPECT_NE(damaged.Errors.find("Unihan_Readings.txt:2: not a line of a Unihan file"), std::string::npos)
      << damaged.Errors;
  EXPECT_EQ(ReadFile(file), former);
}
