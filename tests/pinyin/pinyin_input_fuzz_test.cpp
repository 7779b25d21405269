// The pinyin dictionary fuzzer's check, run over a few thousand inputs made the same way on every
// run: its seeds, then seeds mutated with the bytes that matter to the file's lines, and random
// bytes.

#include <gtest/gtest.h>

#include "fuzz/pinyin_checks.h"
#include "tests/support/SeededMutation.h"

TEST(PinyinInputChecks, DictionaryFiles) {
  using namespace std::string_literals;
  seeded::RunChecks(CheckPinyinDictionaryInput, PinyinDictionarySeeds(),
                    seeded::Mutator(20240601, {"\t", "\n", " ", "  ", "\r\n", "\0"s, "sici.pinyin 1\n", "1e-400", "nan",
                                               "inf", "-1", "0", "1", "2e-08", "0x1p-3", "朝", "一", "不", "儿", "还",
                                               "\xE6\x9C", "\xFF", "\xC0\xAF", "\xED\xA0\x80", "zhāo", "ǚ", "A",
                                               "yī yī", "月\tyuè\t2e-08\n", "\t\t"},
                                    {64, true}),
                    2500);
}
