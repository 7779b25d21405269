// The local order of a record list: IndexFieldNames and the comparison of values.

#include <gtest/gtest.h>

#include "tests/data/records/generated_rows.h"

namespace {

std::vector<std::int32_t> descending(std::int32_t from, std::int32_t step = 1) {
  std::vector<std::int32_t> ids;
  for (std::int32_t id = from; id >= 1; id -= step) ids.push_back(id);
  return ids;
}

}  // namespace

TEST(LocalOrder, NamesSetWhileClosedSortEveryRowOfEachOpen) {
  GeneratedRows data(60);
  data.SetIndexFieldNames("id DESC");  // before the first open: no field exists yet
  data.Open();
  EXPECT_EQ(data.RecordCount(), 60) << "a local order reads the whole result";
  EXPECT_EQ(walkIds(data), descending(60));

  data.Close();
  data.SetIndexFieldNames("zz;id DESC");  // while closed, between two opens
  data.Open();
  std::vector<std::int32_t> expected = descending(60, 2);  // "even" sorts before "odd"
  for (std::int32_t id : descending(59, 2)) expected.push_back(id);
  EXPECT_EQ(walkIds(data), expected);

  data.Close();
  data.SetIndexFieldNames("");
  data.Open();
  EXPECT_EQ(data.RecordCount(), 25) << "no order: the first block only";
  ASSERT_TRUE(data.GetNextRecord());
  EXPECT_EQ(idOf(data), 1);
}

TEST(LocalOrder, NamesSetWhileClosedAreCheckedForFormAtOnceAndForFieldsAtTheOpen) {
  GeneratedRows data(10);
  try {
    data.SetIndexFieldNames("tm DESC ASC");
    FAIL() << "two directions";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid IndexFieldNames format!");
  }
  data.SetIndexFieldNames("nd");
  try {
    data.Open();
    FAIL() << "no field nd";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Field nd not found");
  }
  EXPECT_FALSE(data.Active());
  data.SetIndexFieldNames("[tm] desc");
  data.Open();
  EXPECT_EQ(walkIds(data), (std::vector<std::int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 10, 1})) << "text order of \"title n\"";
}

TEST(LocalOrder, TextComparesByThePinyinCollationUnlessBinary) {
  TMemData data;
  const auto compare = [&](const TFieldValue& a, const TFieldValue& b, unsigned flags) {
    return data.CompareFieldValues(a, b, flags);
  };
  EXPECT_EQ(compare(AnsiString("B"), AnsiString("a"), 0), 1) << "a sorts before B";
  EXPECT_EQ(compare(AnsiString("B"), AnsiString("a"), cfBinary), -1) << "in byte order B comes first";
  EXPECT_NE(compare(AnsiString("a"), AnsiString("A"), 0), 0);
  EXPECT_EQ(compare(AnsiString("a"), AnsiString("A"), cfCaseInsensitive), 0);
  EXPECT_NE(compare(AnsiString("a"), AnsiString("A"), cfCaseInsensitive | cfBinary), 0) << "binary has no case folding";
  // 佟 (tóng) is a level-2 GBK character: its bytes come after those of 张 (zhāng).
  EXPECT_EQ(compare("佟"_gbk, "张"_gbk, 0), -1);
  EXPECT_EQ(compare("佟"_gbk, "张"_gbk, cfBinary), 1);
  // 白 (bái) has the higher code point of the two.
  EXPECT_EQ(compare(WideString(u"白"), WideString(u"杜"), 0), -1);
  EXPECT_EQ(compare(WideString(u"白"), WideString(u"杜"), cfBinary), 1);
  EXPECT_EQ(compare("杜"_gbk, WideString(u"白"), 0), 1) << "8-bit and UTF-16 text compare as characters";

  EXPECT_EQ(compare(AnsiString("Abc"), AnsiString("ab"), cfPartialKey | cfCaseInsensitive), 0);
  EXPECT_NE(compare(AnsiString("Abc"), AnsiString("ab"), cfPartialKey), 0);
  EXPECT_EQ(compare(WideString(u"床前明月光"), WideString(u"明月"), cfPartialCompare), 0);
  EXPECT_NE(compare(WideString(u"床前明月光"), WideString(u"明日"), cfPartialCompare), 0);
  EXPECT_THROW(compare(AnsiString("1"), std::int32_t{1}, 0), Exception);
}

TEST(LocalOrder, IndexFieldNamesSortTextByTheCollationOrByBytes) {
  GeneratedRows data(7);
  data.titles = {"b", "A", "a", "C", "B", "佟"_gbk, "张"_gbk};
  data.Open();
  data.SetIndexFieldNames("tm");
  EXPECT_EQ(walkIds(data), (std::vector<std::int32_t>{6, 7, 3, 2, 1, 5, 4})) << "the Chinese order puts Han first: 佟 张 a A b B C";
  data.SetIndexFieldNames("tm BIN");
  EXPECT_EQ(walkIds(data), (std::vector<std::int32_t>{2, 5, 4, 3, 1, 7, 6})) << "A B C a b 张 佟";
}
