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
