// Blocks of records: how many rows a fetch takes, and how a forward-only result reuses its block.

#include <gtest/gtest.h>

#include <set>

#include "tests/data/records/generated_rows.h"

namespace {

// The ids of the items linked in the list now, read item by item.
std::vector<std::int32_t> linkedIds(TMemData& data) {
  std::vector<std::int32_t> ids;
  std::set<TItemHeader*> seen;
  for (TItemHeader* item = data.FirstItem(); item; item = item->Next) {
    EXPECT_TRUE(seen.insert(item).second) << "an item linked twice";
    if (!seen.count(item)) break;
    EXPECT_EQ(item->Flag, kItemInUse);
    ids.push_back(std::get<std::int32_t>(data.GetValue(1, item->Record())));
    if (ids.size() > 1000) break;
  }
  return ids;
}

void insertId(TMemData& data, std::int32_t id) {
  TRecordBytes record = data.AllocRecBuf();
  data.InitRecord(record.data());
  data.PutValue(1, record.data(), id);
  data.PutValue(2, record.data(), AnsiString("inserted"));
  data.InsertRecord(record.data());
  data.FreeComplexFields(record.data());
}

// Reads on until the end and returns the ids read.
std::vector<std::int32_t> readOn(TMemData& data) {
  std::vector<std::int32_t> ids;
  while (data.GetNextRecord()) ids.push_back(idOf(data));
  return ids;
}

std::vector<std::int32_t> range(std::int32_t from, std::int32_t to) {
  std::vector<std::int32_t> ids;
  for (std::int32_t id = from; id <= to; ++id) ids.push_back(id);
  return ids;
}

}  // namespace

TEST(Blocks, FetchRowsTakesOneTo65535RowsABlock) {
  GeneratedRows data(70000);
  for (const int rows : {0, -1, 65536, 1 << 16 | 25}) {
    SCOPED_TRACE(rows);
    try {
      data.SetProp(prFetchRows, rows);
      ADD_FAILURE() << "a block counts its records in 16 bits";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "FetchRows must be 1..65535");
    }
    EXPECT_EQ(data.FetchRows(), 25) << "a refused value changes nothing";
  }
  data.SetProp(prFetchRows, 65535);
  data.Open();
  EXPECT_EQ(data.RecordCount(), 65535);
  data.Close();
  data.SetProp(prFetchRows, 1);
  data.Open();
  EXPECT_EQ(data.RecordCount(), 1);
}

TEST(Blocks, AForwardOnlyResultReusesItsBlockAfterADeletion) {
  GeneratedRows data(60);
  data.SetProp(prUniDirectional, true);
  data.Open();
  ASSERT_TRUE(data.GetNextRecord());
  data.DeleteRecord();  // its item goes onto the free list
  EXPECT_EQ(idOf(data), 2);
  std::vector<std::int32_t> ids = readOn(data);
  EXPECT_EQ(ids, range(3, 60));
  insertId(data, 1000);
  std::vector<std::int32_t> linked = linkedIds(data);
  EXPECT_EQ(linked.size(), 11u) << "the last block's ten records and the inserted one";
  EXPECT_EQ(std::count(linked.begin(), linked.end(), 1000), 1);
  for (std::int32_t id = 51; id <= 60; ++id) EXPECT_EQ(std::count(linked.begin(), linked.end(), id), 1) << id;
}

TEST(Blocks, AForwardOnlyResultReusesItsBlockAfterAnInsertion) {
  GeneratedRows data(60);
  data.SetProp(prUniDirectional, true);
  data.Open();
  ASSERT_TRUE(data.GetNextRecord());
  insertId(data, 1000);  // the first block is full: the item comes from a block of its own
  EXPECT_EQ(idOf(data), 1000);
  std::vector<std::int32_t> ids = readOn(data);
  EXPECT_EQ(ids, range(1, 60)) << "every row once, in order";
  insertId(data, 2000);
  insertId(data, 3000);
  std::vector<std::int32_t> linked = linkedIds(data);
  for (std::int32_t id = 51; id <= 60; ++id) EXPECT_EQ(std::count(linked.begin(), linked.end(), id), 1) << id;
  EXPECT_EQ(std::count(linked.begin(), linked.end(), 2000), 1);
  EXPECT_EQ(std::count(linked.begin(), linked.end(), 3000), 1);
  EXPECT_LE(data.BlockCount(), 2) << "the fetch block and the block of the inserted items";
}

TEST(RecordSetProps, FetchAllFollowsForwardOnlyAndItsLockInBothStates) {
  GeneratedRows data(60);
  TPropValue value;
  const auto fetchAll = [&] {
    EXPECT_TRUE(data.GetProp(prFetchAll, value));
    return std::get<bool>(value);
  };
  EXPECT_FALSE(fetchAll()) << "the default";
  EXPECT_TRUE(data.SetProp(prFetchAll, true));
  EXPECT_TRUE(fetchAll());
  data.SetProp(prUniDirectional, true);
  EXPECT_FALSE(fetchAll()) << "forward only fetches on demand";
  data.SetProp(prFetchAll, true);
  EXPECT_FALSE(fetchAll()) << "and stays so while forward only";
  data.SetProp(prUniDirectional, false);
  data.SetProp(prFetchAll, true);
  EXPECT_TRUE(fetchAll());

  data.SetProp(prLockFetchAll, true);
  data.SetProp(prFetchAll, false);
  EXPECT_TRUE(fetchAll()) << "locked";
  data.SetProp(prLockFetchAll, false);
  data.SetProp(prFetchAll, false);
  EXPECT_FALSE(fetchAll()) << "unlocked";

  EXPECT_TRUE(data.GetProp(prExtendedFieldsInfo, value));
  EXPECT_TRUE(std::get<bool>(value));
  data.SetProp(prExtendedFieldsInfo, false);
  data.GetProp(prExtendedFieldsInfo, value);
  EXPECT_FALSE(std::get<bool>(value));
  EXPECT_FALSE(data.SetProp(12345, true)) << "no such property";
}
