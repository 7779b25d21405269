#include <gtest/gtest.h>

#include <malloc.h>

#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator keeps its own count; mallinfo knows nothing of it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "data/records/Blob.h"
#include "data/records/MemData.h"
#include "platform/classes/Exceptions.h"
#include "tests/data/records/generated_rows.h"

namespace {

// Bytes the allocator has handed out and not yet had back.
std::size_t allocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

}  // namespace

TEST(RecordLayout, FollowsTheOddSizeAndWideAlignmentRules) {
  TMemData one;
  one.Fields().Add(makeField("n", dcInteger));
  one.InitFields();
  EXPECT_EQ(one.DataSize(), 4);
  EXPECT_EQ(one.RecordSize(), 5) << "4 + 1 indicator is odd: no padding";

  TMemData mixed;
  mixed.Fields().Add(makeField("flag", dcBoolean));     // 2 bytes at 0
  mixed.Fields().Add(makeField("code", dcString, 2));   // 3 bytes at 2
  mixed.Fields().Add(makeField("name", dcWideString, 3));  // would start at 5: moves to 6, 8 bytes
  mixed.Fields().Add(makeField("id", dcLargeint));      // 8 bytes at 14
  mixed.InitFields();
  EXPECT_EQ(mixed.Field(3).Offset, 6);
  EXPECT_EQ(mixed.Field(4).Offset, 14);
  EXPECT_EQ(mixed.DataSize(), 22);
  EXPECT_EQ(mixed.RecordSize(), 27) << "22 + 4 = 26 is even: one byte more";

  TMemData calc;
  calc.Fields().Add(makeField("a", dcInteger));
  auto extra = makeField("c", dcInteger);
  extra->FieldDescKind = TFieldDescKind::fdkCalculated;
  calc.Fields().Add(std::move(extra));
  calc.InitFields();
  EXPECT_EQ(calc.RecordSize(), 7) << "4 + 2 indicators, even, plus one";
  EXPECT_EQ(calc.Field(2).Offset, 7) << "calculated fields come after the stored record";
  EXPECT_EQ(calc.CalcRecordSize(), 5);
}

TEST(RecordLayout, FieldNamesAreMadeUnique) {
  TMemData data;
  for (const char* name : {"id", "ID", "", "id_1", "", "tm"}) data.Fields().Add(makeField(name, dcInteger));
  data.InitFields();
  std::vector<AnsiString> names;
  for (int i = 1; i <= data.FieldCount(); ++i) names.push_back(data.Field(i).Name);
  EXPECT_EQ(names, (std::vector<AnsiString>{"id", "ID_1", "_0", "id_1_1", "_1", "tm"}));
  EXPECT_EQ(data.FindField("Id_1"), &data.Field(2)) << "names are found without case";
  EXPECT_THROW(data.FieldByName("nope"), Exception);
}

TEST(FieldValues, NullIndicatorsBlobsAndEmptyText) {
  TMemData data;
  addField(data, "s", dcString, 4);
  addField(data, "h", dcHeapString);
  addField(data, "m", dcMemo);
  data.InitFields();
  TRecordBytes record = data.AllocRecBuf();
  data.InitRecord(record.data());
  for (int i = 1; i <= data.FieldCount(); ++i) EXPECT_TRUE(data.GetNull(i, record.data())) << i;

  data.PutValue(2, record.data(), "床前明月光"_gbk);
  data.SetNull(2, record.data(), true);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(data.GetValue(2, record.data())));
  EXPECT_THROW(data.GetBlob(1, record.data()), Exception) << "Field is not BLOB";

  // A blob with data has a value, whatever its indicator byte says.
  data.PutValue(3, record.data(), AnsiString("line\nbreak"));
  record[static_cast<std::size_t>(data.DataSize() + 2)] = std::byte{1};
  EXPECT_FALSE(data.GetNull(3, record.data()));
  data.SetNull(3, record.data(), true);
  EXPECT_TRUE(data.GetBlob(3, record.data()).IsEmpty()) << "setting a blob null empties it";

  for (const bool emptyToNull : {false, true}) {
    data.SetEmptyStrToNull = emptyToNull;
    data.PutValue(1, record.data(), AnsiString());
    data.PutValue(2, record.data(), WideString());
    EXPECT_EQ(data.GetNull(1, record.data()), emptyToNull);
    EXPECT_EQ(data.GetNull(2, record.data()), emptyToNull);
  }
  data.FreeComplexFields(record.data());
  EXPECT_EQ(data.BlobCount(), 0);
}

TEST(Fetching, ReadsBlocksOfTwentyFiveOnDemand) {
  GeneratedRows data(60);
  data.Open();
  EXPECT_EQ(data.RecordCount(), 25);
  EXPECT_EQ(data.reads, 25);
  EXPECT_TRUE(data.Bof());
  int seen = 0;
  while (data.GetNextRecord()) {
    ++seen;
    EXPECT_EQ(data.RecordNo(), seen);
    if (seen == 25) {
      EXPECT_EQ(data.reads, 25) << "nothing is read before it is needed";
    }
  }
  EXPECT_EQ(seen, 60);
  EXPECT_EQ(data.RecordCount(), 60);
  EXPECT_TRUE(data.Eof());
  EXPECT_TRUE(data.FetchedAll());

  GeneratedRows exactly(25);
  exactly.Open();
  EXPECT_FALSE(exactly.FetchedAll()) << "a full block does not know that the result ended";
  exactly.SetToEnd();
  EXPECT_EQ(exactly.RecordCount(), 25);

  GeneratedRows none(0);
  none.Open();
  EXPECT_EQ(none.RecordCount(), 0);
  EXPECT_TRUE(none.Bof() && none.Eof());
  EXPECT_EQ(none.RecordNo(), 0);
  EXPECT_FALSE(none.GetNextRecord());
}

TEST(Fetching, FetchAllForwardOnlyAndAFailedBlock) {
  GeneratedRows all(60);
  all.SetProp(prFetchAll, true);
  all.Open();
  EXPECT_EQ(all.RecordCount(), 60);

  GeneratedRows forward(60);
  forward.SetProp(prUniDirectional, true);
  forward.Open();
  int seen = 0;
  while (forward.GetNextRecord()) ++seen;
  EXPECT_EQ(seen, 60);
  EXPECT_EQ(forward.RecordNo(), 60);
  EXPECT_FALSE(forward.GetPriorRecord()) << "no way back";

  GeneratedRows failing(60);
  failing.failAtRow = 30;
  failing.Open();
  for (int i = 0; i < 25; ++i) failing.GetNextRecord();
  EXPECT_THROW(failing.GetNextRecord(), Exception);
  EXPECT_EQ(failing.RecordCount(), 25) << "the half-read block is dropped";
  EXPECT_EQ(failing.RecordNo(), 25);
}

TEST(Navigation, RecordNumbersWalkFromTheNearestKnownRecord) {
  GeneratedRows data(60);
  data.Open();
  data.SetRecordNo(40);
  EXPECT_EQ(data.RecordNo(), 40) << "walking past the fetched records fetches more";
  EXPECT_EQ(idOf(data), 40);
  data.SetRecordNo(3);
  EXPECT_EQ(idOf(data), 3);
  data.SetRecordNo(999);
  EXPECT_EQ(data.RecordNo(), 3) << "an unknown number changes nothing";
  EXPECT_TRUE(data.GetPriorRecord());
  EXPECT_EQ(data.RecordNo(), 2);
}

TEST(Navigation, FilterHooksHideRecordsAndNumberTheRest) {
  GeneratedRows data(10);
  data.Open();
  data.FilterFunc = [&](const std::byte* record) { return std::get<std::int32_t>(data.GetValue(1, record)) % 3 == 0; };
  data.FilterUpdated();
  EXPECT_EQ(data.RecordCount(), 3);
  data.SetToBegin();
  std::vector<std::int32_t> ids;
  while (data.GetNextRecord()) ids.push_back(idOf(data));
  EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 6, 9}));
  data.SetRecordNo(2);
  EXPECT_EQ(idOf(data), 6) << "record numbers count only what the filter shows";
}

TEST(Bookmarks, FollowTheirRecordAndFallBackToNumbersAfterARefresh) {
  GeneratedRows data(60);
  data.Open();
  data.SetRecordNo(7);
  const TRecBookmark seven = data.GetBookmark();
  data.SetRecordNo(30);
  const TRecBookmark thirty = data.GetBookmark();
  EXPECT_EQ(data.CompareBookmarks(&seven, &thirty), -1);
  EXPECT_EQ(data.CompareBookmarks(&thirty, &seven), 1);
  EXPECT_EQ(data.CompareBookmarks(nullptr, &seven), 1) << "a missing bookmark sorts last";
  EXPECT_EQ(data.CompareBookmarks(nullptr, nullptr), 0);
  data.SetToBookmark(seven);
  EXPECT_EQ(idOf(data), 7);

  data.Close();
  data.Open();
  EXPECT_TRUE(data.BookmarkValid(seven));
  data.SetToBookmark(seven);
  EXPECT_EQ(data.RecordNo(), 7) << "after a reopen the number finds the record";

  data.SetRecordNo(8);
  data.DeleteRecord();
  EXPECT_EQ(idOf(data), 9);
  data.SetToBookmark(seven);
  EXPECT_EQ(idOf(data), 7) << "an earlier bookmark still finds its record after a deletion";
}

TEST(LocalOrder, IndexFieldNamesSortStablyAndRejectBadText) {
  GeneratedRows data(6);
  data.titles = {"b", "A", "a", "C", "b", "B"};
  data.Open();
  data.SetIndexFieldNames("tm DESC CIS;zz");
  std::vector<std::int32_t> ids;
  data.SetToBegin();
  while (data.GetNextRecord()) ids.push_back(idOf(data));
  // C; then b/B/b case-insensitively equal: zz ascending ("even" < "odd"), ties in fetch order.
  EXPECT_EQ(ids, (std::vector<std::int32_t>{4, 6, 1, 5, 2, 3}));
  data.SetRecordNo(1);
  EXPECT_EQ(data.RecordNo(), 1);

  try {
    data.SetIndexFieldNames("tm DESC ASC");
    FAIL() << "two directions";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid IndexFieldNames format!");
  }
  try {
    data.SetIndexFieldNames("nd");
    FAIL() << "unknown field";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Field nd not found");
  }
  EXPECT_THROW(data.SetIndexFieldNames("tm;;zz"), Exception);
  data.SetIndexFieldNames("[id] desc");
  data.SetToBegin();
  data.GetNextRecord();
  EXPECT_EQ(idOf(data), 6);
}

TEST(Memory, CloseGivesEverythingBackAndReopeningDoesNotGrow) {
  GeneratedRows data(60);
  data.SetProp(prFetchAll, true);
  data.Open();
  data.Close();
  const std::size_t afterFirstClose = allocatedBytes();
  for (int i = 0; i < 1000; ++i) {
    data.Open();
    EXPECT_EQ(data.RecordCount(), 60);
    data.Close();
  }
  EXPECT_LE(allocatedBytes(), afterFirstClose) << "a thousand opens leave nothing behind";
  EXPECT_EQ(data.BlobCount(), 0);
  EXPECT_TRUE(data.StringHeap().Empty());
  EXPECT_EQ(data.RecordCount(), 0);
}

TEST(Memory, CloseGivesBackTheBlobsAndLargePiecesThatOutliveTheHeapsBlocks) {
  for (const bool blobs : {false, true}) {
    SCOPED_TRACE(blobs ? "a memo column" : "titles too long for the heap's pool");
    GeneratedRows data(60);
    for (int id = 1; id <= 60; ++id)
      data.titles.push_back(!blobs && id % 7 == 0 ? AnsiString(3000, 'x') : "title " + std::to_string(id));
    if (blobs) {
      data.extraFields = [](TData& d) { addField(d, "nr", dcMemo); };
      data.fill = [](TData& d, std::byte* record, std::int32_t id) { d.PutValue(4, record, "poem " + std::to_string(id)); };
    }
    data.SetProp(prFetchAll, true);
    for (int round = 0; round < 2; ++round) {
      data.Open();
      ASSERT_EQ(data.RecordCount(), 60);
      EXPECT_EQ(data.BlobCount(), blobs ? 60 : 0);
      EXPECT_EQ(data.StringHeap().HasSystemPieces(), !blobs);
      data.Close();
      EXPECT_EQ(data.BlobCount(), 0);
      EXPECT_TRUE(data.StringHeap().Empty());
    }
  }
}

TEST(Blocks, ItemsAreRecycledAndABlockGoesWithItsLastItem) {
  TBlockManager blocks;
  blocks.SetRecordSize(5);
  std::vector<TItemHeader*> items;
  for (int i = 0; i < 12; ++i) items.push_back(blocks.AllocItem());
  EXPECT_EQ(blocks.BlockCount(), 2) << "ten items a block";
  EXPECT_EQ(blocks.FreeItemCount(), 8);
  blocks.FreeItem(items[11]);
  EXPECT_EQ(blocks.FreeItemCount(), 9);
  blocks.FreeItem(items[10]);
  EXPECT_EQ(blocks.BlockCount(), 1) << "the block's last item took the block with it";
  EXPECT_EQ(blocks.FreeItemCount(), 0);
  EXPECT_EQ(blocks.AllocItem()->Flag, kItemInUse);
}
