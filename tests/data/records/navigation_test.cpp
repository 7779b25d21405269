// Moving over a record list with hidden records, by number and by bookmark.

#include <gtest/gtest.h>


#include "tests/data/records/generated_rows.h"

namespace {

// Rows of one number, 1, 2, …: cheap to make, so that a walk's cost shows.
class NumberedRows : public TCRRecordSet {
 public:
  explicit NumberedRows(int rows) : rows_(rows) {}
  void SetConnection(TCRConnection*) override {}
  void SetSQL(const AnsiString&) override {}
  bool ExecuteNoRows() override { return true; }
  const std::vector<std::unique_ptr<TCRTableInfo>>& TablesInfo() const override { return tables_; }

 protected:
  void ExecuteCommand() override { next_ = 0; }
  void CreateFieldDescs() override { addField(*this, "id", dcInteger); }
  bool ReadRow(std::byte* record) override {
    if (next_ >= rows_) return false;
    PutValue(1, record, std::int32_t{++next_});
    return true;
  }

 private:
  int rows_;
  int next_ = 0;
  std::vector<std::unique_ptr<TCRTableInfo>> tables_;
};

void keepMultiplesOfThree(GeneratedRows& data) {
  data.FilterFunc = [&data](const std::byte* record) { return std::get<std::int32_t>(data.GetValue(1, record)) % 3 == 0; };
}

}  // namespace

TEST(Navigation, RecordNumbersWalkBothWaysPastHiddenRecords) {
  GeneratedRows data(30);
  keepMultiplesOfThree(data);
  data.Open();
  data.SetRecordNo(10);
  EXPECT_EQ(idOf(data), 30);
  data.SetRecordNo(9);
  EXPECT_EQ(data.RecordNo(), 9) << "backwards from the current record, over the hidden 29 and 28";
  EXPECT_EQ(idOf(data), 27);
  data.SetRecordNo(2);
  EXPECT_EQ(idOf(data), 6);
  data.SetRecordNo(3);
  EXPECT_EQ(idOf(data), 9) << "forwards from the current record";
  data.SetRecordNo(11);
  EXPECT_EQ(idOf(data), 9) << "a number past the last shown record changes nothing";

  // A bookmark that no longer names its item falls back to the same walk.
  data.SetRecordNo(5);
  const TRecBookmark fifth = data.GetBookmark();
  data.Close();
  data.Open();
  data.SetRecordNo(10);
  data.SetToBookmark(fifth);
  EXPECT_EQ(data.RecordNo(), 5);
  EXPECT_EQ(idOf(data), 15);
}

TEST(Navigation, AWalkOverHiddenLeadingRecordsGoesOnWhereItWasAfterEachFetch) {
  // One row a block: a walk that went back to the first record after each fetch would look at
  // the hidden records about hidden² / 2 times instead of a few times each.
  constexpr int hidden = 5000;
  NumberedRows data(hidden + 1);
  data.SetProp(prFetchRows, 1);
  long looks = 0;
  data.FilterFunc = [&data, &looks](const std::byte* record) {
    ++looks;
    return std::get<std::int32_t>(data.GetValue(1, record)) > hidden;
  };
  data.Open();
  EXPECT_TRUE(data.GetNextRecord());
  EXPECT_EQ(idOf(data), hidden + 1);
  EXPECT_LT(looks, 4L * (hidden + 1)) << "each record is looked at a few times, not once per fetch after it";
}

TEST(Bookmarks, AfterAReopenTheNumberDecidesEvenWhereTheOldItemLiesAgain) {
  GeneratedRows data(60);
  data.Open();
  data.SetRecordNo(7);
  const TRecBookmark seven = data.GetBookmark();
  data.Close();
  data.Open();
  // The reopened list may reuse the old item's memory: a new order puts another record there.
  data.SetIndexFieldNames("id DESC");
  data.SetToBookmark(seven);
  EXPECT_EQ(data.RecordNo(), 7);
  EXPECT_EQ(idOf(data), 54) << "the seventh record of the new order";
}

TEST(Bookmarks, TheLastRecordIsFoundAgainAfterAReopenByFetchingOnDemand) {
  for (const int rows : {60, 50}) {
    SCOPED_TRACE(rows);
    GeneratedRows data(rows);
    data.Open();
    data.SetToEnd();
    ASSERT_TRUE(data.GetPriorRecord());
    const TRecBookmark last = data.GetBookmark();
    EXPECT_EQ(last.Order, rows);
    data.Close();
    data.Open();
    EXPECT_EQ(data.RecordCount(), 25);
    data.SetToBookmark(last);
    EXPECT_EQ(data.RecordNo(), rows);
    EXPECT_EQ(idOf(data), rows);
    EXPECT_TRUE(data.BookmarkValid(last));
    const TRecBookmark here = data.GetBookmark();
    EXPECT_EQ(data.CompareBookmarks(&last, &here), 0);
    EXPECT_FALSE(data.GetNextRecord()) << "nothing after the last record";
  }
}
