// Who holds the heap pieces and blobs of a record: stored records, buffers read from them,
// and the records made from those buffers. No record may be left with a piece given back.

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <utility>

#include "tests/data/records/failing_allocator.h"
#include "tests/data/records/generated_rows.h"

namespace {

constexpr int kTitle = 2;
constexpr int kMemo = 4;

// Rows 1, 2, 3 with a heap title "title <id>" and a memo "memo <id>".
class RowsWithMemos : public GeneratedRows {
 public:
  RowsWithMemos() : GeneratedRows(3) {
    extraFields = [](TData& data) { addField(data, "m", dcMemo); };
    fill = [](TData& data, std::byte* record, std::int32_t id) {
      data.PutValue(kMemo, record, AnsiString("memo " + std::to_string(id)));
    };
  }
};

struct Stored {
  std::int32_t id;
  TFieldValue title, memo;
  bool operator==(const Stored&) const = default;
};

// What the linked records hold, read from the items themselves.
std::vector<Stored> storedRecords(TMemData& data) {
  std::vector<Stored> records;
  for (TItemHeader* item = data.FirstItem(); item; item = item->Next) {
    const std::byte* record = item->Record();
    records.push_back({std::get<std::int32_t>(data.GetValue(1, record)), data.GetValue(kTitle, record),
                       data.GetValue(kMemo, record)});
    // A title a record refers to must still be held by someone.
    std::uint32_t handle = 0;
    std::memcpy(&handle, record + data.Field(kTitle).Offset, sizeof handle);
    if (handle != 0) {
      EXPECT_GE(data.StringHeap().Mark(handle), TStringHeap::kMarkInUse) << "record " << records.back().id;
    }
  }
  return records;
}

Stored original(std::int32_t id) {
  return {id, AnsiString("title " + std::to_string(id)), AnsiString("memo " + std::to_string(id))};
}

// Takes heap pieces and blobs of the sizes the tests use, so that a piece given back too early
// is handed out again and overwritten.
class Churn {
 public:
  explicit Churn(TMemData& data) : data_(data) {
    for (int i = 0; i < 20; ++i) {
      TRecordBytes& record = records_.emplace_back(data.AllocRecBuf());
      data.InitRecord(record.data());
      data.PutValue(kTitle, record.data(), AnsiString(i % 2 ? "churn!!" : "churned title of another length"));
      data.PutValue(kMemo, record.data(), AnsiString("churned memo"));
    }
  }
  ~Churn() {
    for (TRecordBytes& record : records_) data_.FreeComplexFields(record.data());
  }

 private:
  TMemData& data_;
  std::vector<TRecordBytes> records_;
};

}  // namespace

TEST(RecordOwnership, AValuePutIntoABufferReachesTheRecordOnlyThroughTheUpdate) {
  RowsWithMemos data;
  data.Open();
  data.SetRecordNo(2);
  TRecordBytes buffer = data.AllocRecBuf();
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.PutValue(kTitle, buffer.data(), AnsiString("a new title of another length"));
  data.PutValue(kMemo, buffer.data(), AnsiString("a new memo"));
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}))
      << "editing the buffer leaves the stored record alone";

  data.UpdateRecord(buffer.data());
  const Stored updated{2, AnsiString("a new title of another length"), AnsiString("a new memo")};
  EXPECT_EQ(data.GetValue(kTitle, buffer.data()), updated.title) << "the buffer keeps its value";
  data.FreeComplexFields(buffer.data());
  Churn churn(data);
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), updated, original(3)}));
}

TEST(RecordOwnership, AWriteThroughTheBlobOfABufferReachesTheRecordOnlyThroughTheUpdate) {
  RowsWithMemos data;
  data.Open();
  data.SetRecordNo(2);
  TRecordBytes buffer = data.AllocRecBuf();
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  const TBlob& read = std::as_const(data).GetBlob(kMemo, buffer.data());
  EXPECT_EQ(read.AsString(), "memo 2") << "reading shares the stored blob";
  data.GetBlob(kMemo, buffer.data()).SetAsString("a memo written through the blob");
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}))
      << "writing into the buffer's blob leaves the stored record alone";

  data.UpdateRecord(buffer.data());
  data.FreeComplexFields(buffer.data());
  Churn churn(data);
  EXPECT_EQ(storedRecords(data),
            (std::vector<Stored>{original(1), Stored{2, original(2).title, AnsiString("a memo written through the blob")},
                                 original(3)}));
}

TEST(RecordOwnership, ANullPutIntoABufferReachesTheRecordOnlyThroughTheUpdate) {
  RowsWithMemos data;
  data.Open();
  data.SetRecordNo(2);
  TRecordBytes buffer = data.AllocRecBuf();
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.SetNull(kTitle, buffer.data(), true);
  data.SetNull(kMemo, buffer.data(), true);
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}));

  data.UpdateRecord(buffer.data());
  data.FreeComplexFields(buffer.data());
  Churn churn(data);
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), Stored{2, {}, {}}, original(3)}));
}

TEST(RecordOwnership, AnUnchangedBufferUpdatesItsOwnRecord) {
  RowsWithMemos data;
  data.Open();
  data.SetRecordNo(3);
  TRecordBytes buffer = data.AllocRecBuf();
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.UpdateRecord(buffer.data());
  data.FreeComplexFields(buffer.data());  // a buffer that only read holds nothing to give back
  Churn churn(data);
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}));
}

TEST(RecordOwnership, ARecordInsertedOrAppendedFromABufferOutlivesEitherTwinsDeletion) {
  RowsWithMemos data;
  data.Open();
  TRecordBytes buffer = data.AllocRecBuf();

  // The copy goes, the original stays.
  data.SetRecordNo(2);
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.InsertRecord(buffer.data());
  data.DeleteRecord();
  {
    Churn churn(data);
    EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}));
  }

  // The original goes, the copy stays.
  data.SetRecordNo(2);
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.InsertRecord(buffer.data());
  data.SetRecordNo(3);
  ASSERT_EQ(data.CurrentItem(), data.FirstItem()->Next->Next);
  data.DeleteRecord();
  {
    Churn churn(data);
    EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(1), original(2), original(3)}));
  }

  // Appended: the original goes first, then the copy's own twin.
  data.SetRecordNo(1);
  ASSERT_TRUE(data.GetRecord(buffer.data()));
  data.AppendRecord(buffer.data());
  data.SetRecordNo(1);
  data.DeleteRecord();
  {
    Churn churn(data);
    EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(2), original(3), original(1)}));
  }
  data.SetToEnd();
  ASSERT_TRUE(data.GetPriorRecord(buffer.data()));
  data.AppendRecord(buffer.data());
  data.DeleteRecord();
  Churn churn(data);
  EXPECT_EQ(storedRecords(data), (std::vector<Stored>{original(2), original(3), original(1)}));
}

TEST(RecordOwnership, AFailedHeapWriteLeavesTheFieldWithItsOldPiece) {
  struct Write {
    std::uint16_t code;
    TFieldValue old, large;
  };
  const std::vector<Write> writes = {
      {dcHeapString, AnsiString("a"), AnsiString(400, 'b')},
      {dcHeapWideString, WideString(u"a"), WideString(200, u'b')},
      {dcHeapVarBytes, std::vector<std::uint8_t>{1}, std::vector<std::uint8_t>(400, 2)},
  };
  for (const Write& write : writes) {
    SCOPED_TRACE(write.code);
    TMemData data;
    addField(data, "h", write.code);
    data.InitFields();
    TRecordBytes record = data.AllocRecBuf();
    data.InitRecord(record.data());
    data.PutValue(1, record.data(), write.old);
    std::uint32_t handle = 0;
    std::memcpy(&handle, record.data() + data.Field(1).Offset, sizeof handle);
    // Eight pieces of 2000 bytes leave too little of the block for the large value.
    for (int i = 0; i < 8; ++i) data.StringHeap().Alloc(2000);
    {
      AllocationFailure noNewBlock(TStringHeap::kBlockArea);
      EXPECT_THROW(data.PutValue(1, record.data(), write.large), std::bad_alloc);
    }
    EXPECT_EQ(data.StringHeap().Mark(handle), TStringHeap::kMarkInUse) << "the old piece is still the field's";
    EXPECT_NE(data.StringHeap().Alloc(1), handle) << "and not on a free list";
    EXPECT_EQ(data.GetValue(1, record.data()), write.old);
    data.PutValue(1, record.data(), write.large);
    EXPECT_EQ(data.GetValue(1, record.data()), write.large) << "with memory the write goes through";
    data.FreeComplexFields(record.data());
  }
}
