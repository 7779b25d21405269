#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Exceptions.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"

namespace {

using Log = std::vector<std::string>;
using Row = std::vector<TFieldValue>;

struct Column {
  AnsiString name;
  TFieldType type;
  int size = 0;
};

template <class E, class F>
void expectError(F&& call, const AnsiString& message) {
  try {
    call();
    ADD_FAILURE() << "nothing thrown, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// Rows in memory. A buffer holds a row index and the values of the calculated fields.
class ArrayDataSet : public TDataSet {
public:
  ArrayDataSet(TComponent* owner, std::vector<Column> columns, std::vector<Row> rows)
      : TDataSet(owner), rows(std::move(rows)), columns_(std::move(columns)) {}
  ~ArrayDataSet() override { Close(); }

  using TDataSet::ActiveRecord;
  using TDataSet::BufferCount;

  std::vector<Row> rows;
  int reads = 0;
  int liveBuffers = 0;
  int failReadAt = -1;
  bool filtered = false;
  bool failOpen = false;
  bool canModify = false;
  // Answers the direct text read when set: the row's text with a mark, to tell it apart.
  bool directText = false;
  std::vector<AnsiString> directTextAsked;

protected:
  struct Buffer {
    int row = -1;
    std::vector<TFieldValue> calc;
  };
  static Buffer& buf(TRecordBuffer buffer) { return *reinterpret_cast<Buffer*>(buffer); }

  TRecordBuffer AllocRecordBuffer() override {
    ++liveBuffers;
    return reinterpret_cast<TRecordBuffer>(new Buffer);
  }
  void FreeRecordBuffer(TRecordBuffer& buffer) override {
    delete &buf(buffer);
    buffer = nullptr;
    --liveBuffers;
  }
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool) override {
    const int count = static_cast<int>(rows.size());
    const int row = cursor_ + (mode == gmNext ? 1 : mode == gmPrior ? -1 : 0);
    if (row < 0 || row >= count) {
      if (mode == gmCurrent) return grError;
      cursor_ = row < 0 ? -1 : count;
      return row < 0 ? grBOF : grEOF;
    }
    if (row == failReadAt) throw EDatabaseError("cannot read");
    cursor_ = row;
    buf(buffer).row = row;
    ++reads;
    if (filtered && mode != gmCurrent && !FilterRecord(buffer)) return GetRecord(buffer, mode, true);
    return grOK;
  }
  void InternalOpen() override {
    if (failOpen) throw EDatabaseError("cannot open");
    open_ = true;
  }
  void InternalClose() override { open_ = false; }
  bool IsCursorOpen() const override { return open_; }
  void InternalInitFieldDefs() override {
    FieldDefs().Clear();
    for (const Column& c : columns_) FieldDefs().Add(c.name, c.type, c.size);
  }
  void InternalFirst() override { cursor_ = -1; }
  void InternalLast() override { cursor_ = static_cast<int>(rows.size()); }
  void InternalSetToRecord(TRecordBuffer buffer) override { cursor_ = buf(buffer).row; }
  void InternalGotoBookmark(const TBookmark& bookmark) override {
    std::memcpy(&cursor_, bookmark.data(), sizeof cursor_);
  }
  void GetBookmarkData(TRecordBuffer buffer, TBookmark& bookmark) override {
    bookmark.resize(sizeof(int));
    std::memcpy(bookmark.data(), &buf(buffer).row, sizeof(int));
  }
  bool GetFieldData(const TField& field, TRecordBuffer buffer, TFieldValue& value) override {
    if (field.Calculated()) {
      const auto& calc = buf(buffer).calc;
      value = field.Index() < static_cast<int>(calc.size()) ? calc[field.Index()] : TFieldValue();
    } else {
      value = rows[buf(buffer).row][field.FieldNo() - 1];
    }
    return !std::holds_alternative<std::monostate>(value);
  }
  bool GetFieldText(const TField& field, TRecordBuffer buffer, AnsiString& text) override {
    if (!directText) return TDataSet::GetFieldText(field, buffer, text);
    directTextAsked.push_back(field.FieldName());
    const TFieldValue& value = rows[buf(buffer).row][field.FieldNo() - 1];
    if (const auto* s = std::get_if<AnsiString>(&value)) text = "direct " + *s;
    else if (const auto* i = std::get_if<std::int32_t>(&value)) text = "direct " + std::to_string(*i);
    else if (const auto* l = std::get_if<std::int64_t>(&value)) text = "direct " + std::to_string(*l);
    else text.clear();
    return true;
  }
  void SetFieldData(const TField& field, TRecordBuffer buffer, const TFieldValue& value) override {
    auto& calc = buf(buffer).calc;
    if (static_cast<int>(calc.size()) <= field.Index()) calc.resize(field.Index() + 1);
    calc[field.Index()] = value;
  }
  int GetRecNo() override { return ActiveBuffer() ? buf(ActiveBuffer()).row + 1 : -1; }
  int GetRecordCount() override { return static_cast<int>(rows.size()); }
  bool GetCanModify() override { return canModify; }
  void InternalDelete() override { rows.erase(rows.begin() + cursor_); }

private:
  std::vector<Column> columns_;
  int cursor_ = -1;
  bool open_ = false;
};

std::vector<Row> numberedRows(int count) {
  std::vector<Row> rows;
  for (int i = 1; i <= count; ++i) rows.push_back({i, AnsiString("poem ") + std::to_string(i)});
  return rows;
}

class LogLink : public TDataLink {
public:
  explicit LogLink(Log& log, const char* name = "") : log_(log), name_(name) {}

protected:
  void ActiveChanged() override { say(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { say("changed"); }
  void DataSetScrolled(int distance) override { say("scrolled " + std::to_string(distance)); }
  void LayoutChanged() override { say("layout"); }
  void FocusControl(TField*& field) override {
    say("focus " + field->FieldName());
    field = nullptr;
  }

private:
  void say(const std::string& what) { log_.push_back(name_ + what); }
  Log& log_;
  std::string name_;
};

// The ids of the records in a link's window, read as a grid reads its rows.
std::vector<int> window(TDataLink& link) {
  std::vector<int> ids;
  const int active = link.ActiveRecord();
  for (int i = 0; i < link.RecordCount(); ++i) {
    link.SetActiveRecord(i);
    ids.push_back(link.DataSet()->FieldByName("id").AsInteger());
  }
  link.SetActiveRecord(active);
  return ids;
}

std::vector<int> ids(int from, int to) {
  std::vector<int> result;
  for (int i = from; i <= to; ++i) result.push_back(i);
  return result;
}

Log take(Log& log) { return std::exchange(log, {}); }

// A data set of `count` numbered poems, a source and a link of `rows` rows, all on one owner.
struct Poems : ::testing::Test {
  void make(int count, int rows) {
    ds = new ArrayDataSet(&owner, {{"id", ftInteger}, {"tm", ftString, 20}}, numberedRows(count));
    source = new TDataSource(&owner);
    source->SetDataSet(ds);
    link.SetBufferCount(rows);
    link.SetDataSource(source);
  }
  Log log;
  TComponent owner{nullptr};
  LogLink link{log};
  ArrayDataSet* ds = nullptr;
  TDataSource* source = nullptr;
};

using DataSetRing = Poems;
using DataSetEvents = Poems;
using DataSetPosition = Poems;
using DataSetFieldAccess = Poems;
using DataSetLifetime = Poems;

}  // namespace

// The ring of record buffers

TEST_F(DataSetRing, AWindowOfFiveShowsTheFirstFiveRecords) {
  make(12, 5);
  ds->Open();
  EXPECT_EQ(window(link), ids(1, 5));
  EXPECT_EQ(link.ActiveRecord(), 0);
  EXPECT_EQ(ds->reads, 5);
  EXPECT_EQ(ds->BufferCount(), 5);
  EXPECT_TRUE(ds->Bof());
  EXPECT_FALSE(ds->Eof());
}

TEST_F(DataSetRing, NextInsideTheWindowReadsNothing) {
  make(12, 5);
  ds->Open();
  take(log);
  for (int i = 0; i < 4; ++i) ds->Next();
  EXPECT_EQ(link.ActiveRecord(), 4);
  EXPECT_EQ(ds->reads, 5);
  EXPECT_EQ(log, Log(4, "scrolled 0"));
  EXPECT_EQ(ds->FieldByName("tm").AsString(), "poem 5");
}

TEST_F(DataSetRing, NextPastTheWindowScrollsByOne) {
  make(12, 5);
  ds->Open();
  ds->MoveBy(4);
  take(log);
  ds->Next();
  EXPECT_EQ(log, Log{"scrolled 1"});
  EXPECT_EQ(window(link), ids(2, 6));
  EXPECT_EQ(link.ActiveRecord(), 4);
  EXPECT_EQ(ds->reads, 6);
  EXPECT_EQ(ds->RecNo(), 6);
}

TEST_F(DataSetRing, LastFillsTheWindowWithTheLastRecords) {
  make(12, 5);
  ds->Open();
  take(log);
  ds->Last();
  EXPECT_EQ(log, Log{"changed"});
  EXPECT_EQ(window(link), ids(8, 12));
  EXPECT_EQ(link.ActiveRecord(), 4);
  EXPECT_TRUE(ds->Eof());
  EXPECT_FALSE(ds->Bof());
  EXPECT_EQ(ds->MoveBy(1), 0);
}

TEST_F(DataSetRing, MoveByStopsAtTheFirstRecord) {
  make(12, 5);
  ds->Open();
  ds->Last();
  take(log);
  EXPECT_EQ(ds->MoveBy(-100), -11);
  EXPECT_TRUE(ds->Bof());
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(window(link), ids(1, 5));
  EXPECT_EQ(log, Log{"scrolled -7"});
}

TEST_F(DataSetRing, FirstNextEofVisitsEveryRecordOnce) {
  make(12, 1);
  ds->Open();
  std::vector<int> seen;
  for (ds->First(); !ds->Eof(); ds->Next()) seen.push_back(ds->FieldByName("id").AsInteger());
  EXPECT_EQ(seen, ids(1, 12));
  EXPECT_EQ(ds->RecNo(), 12);
}

TEST_F(DataSetRing, AnEmptyResultIsAtBothEnds) {
  make(0, 5);
  ds->Open();
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Bof() && ds->Eof());
  EXPECT_EQ(link.RecordCount(), 0);
  EXPECT_TRUE(ds->FieldByName("id").IsNull());
  EXPECT_EQ(ds->MoveBy(3), 0);
}

TEST_F(DataSetRing, TwoLinksScrollTheirOwnWindows) {
  make(12, 6);
  LogLink small(log, "small ");
  small.SetBufferCount(3);
  small.SetDataSource(source);
  ds->Open();
  EXPECT_EQ(ds->BufferCount(), 6);
  EXPECT_EQ(window(small), ids(1, 3));
  take(log);
  ds->MoveBy(3);
  EXPECT_EQ(log, (Log{"scrolled 0", "small scrolled 1"}));
  EXPECT_EQ(window(small), ids(2, 4));
  EXPECT_EQ(window(link), ids(1, 6));
  take(log);
  ds->MoveBy(3);
  EXPECT_EQ(log, (Log{"scrolled 1", "small scrolled 3"}));
  EXPECT_EQ(window(link), ids(2, 7));
  EXPECT_EQ(window(small), ids(5, 7));
}

TEST_F(DataSetRing, AGrownWindowIsFilledAtOnce) {
  make(12, 1);
  ds->Open();
  take(log);
  link.SetBufferCount(20);
  EXPECT_EQ(link.RecordCount(), 12);
  EXPECT_EQ(ds->reads, 12);
  EXPECT_TRUE(log.empty());
  link.SetBufferCount(3);
  ds->Last();
  link.SetBufferCount(6);
  EXPECT_EQ(window(link), ids(7, 12));
  EXPECT_EQ(link.ActiveRecord(), 5);
}

TEST_F(DataSetRing, ALinkLeavingShrinksTheRingAroundTheActiveRecord) {
  make(12, 3);
  LogLink big(log, "big ");
  big.SetBufferCount(6);
  big.SetDataSource(source);
  ds->Open();
  ds->MoveBy(5);
  take(log);
  big.SetDataSource(nullptr);
  EXPECT_EQ(log, Log{"big inactive"});
  EXPECT_EQ(ds->BufferCount(), 3);
  EXPECT_EQ(ds->liveBuffers, 4);
  EXPECT_EQ(window(link), ids(4, 6));
  EXPECT_EQ(ds->RecNo(), 6);
}

TEST_F(DataSetRing, ShrinkingTheRingTellsALinkWhoseRecordsWent) {
  make(12, 3);
  LogLink big(log, "big ");
  big.SetBufferCount(6);
  big.SetDataSource(source);
  ds->Open();
  ds->MoveBy(5);
  ds->Prior();
  EXPECT_EQ(window(link), ids(4, 6));
  take(log);
  big.SetBufferCount(3);
  EXPECT_EQ(log, Log{"changed"});
  EXPECT_EQ(ds->BufferCount(), 3);
  EXPECT_EQ(window(link), ids(3, 5));
  EXPECT_EQ(window(big), ids(3, 5));
  EXPECT_EQ(ds->RecNo(), 5);
}

// Events

TEST_F(DataSetEvents, OpenAndCloseTellTheLinksInOrder) {
  make(3, 2);
  ds->BeforeOpen = [&](TDataSet&) { log.push_back("BeforeOpen"); };
  ds->AfterOpen = [&](TDataSet&) { log.push_back("AfterOpen"); };
  ds->AfterScroll = [&](TDataSet&) { log.push_back("AfterScroll"); };
  ds->BeforeClose = [&](TDataSet&) { log.push_back("BeforeClose"); };
  ds->AfterClose = [&](TDataSet&) { log.push_back("AfterClose"); };
  source->OnStateChange = [&](TObject&) { log.push_back("state"); };
  source->OnDataChange = [&](TObject&, TField* field) { log.push_back(field ? "data field" : "data"); };
  ds->Open();
  EXPECT_EQ(take(log), (Log{"BeforeOpen", "active", "state", "changed", "data", "AfterOpen", "AfterScroll"}));
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(ds->FieldCount(), 2);
  ds->Close();
  EXPECT_EQ(take(log), (Log{"BeforeClose", "inactive", "state", "changed", "data", "AfterClose"}));
  EXPECT_EQ(ds->FieldCount(), 0);
  EXPECT_EQ(ds->liveBuffers, 0);
  EXPECT_TRUE(ds->Bof() && ds->Eof());
  expectError<EDatabaseError>([&] { ds->Next(); }, "Cannot perform this operation on a closed dataset");
}

TEST_F(DataSetEvents, AFailedOpenLeavesItClosed) {
  make(12, 5);
  ds->failOpen = true;
  expectError<EDatabaseError>([&] { ds->Open(); }, "cannot open");
  ds->failOpen = false;
  ds->failReadAt = 2;
  expectError<EDatabaseError>([&] { ds->Open(); }, "cannot read");
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->FieldCount(), 0);
  EXPECT_EQ(ds->liveBuffers, 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(DataSetEvents, DisabledControlsHearOneChangeAtTheEnd) {
  make(12, 5);
  ds->Open();
  take(log);
  ds->DisableControls();
  ds->DisableControls();
  ds->MoveBy(5);
  EXPECT_EQ(link.ActiveRecord(), 4);
  EXPECT_EQ(window(link), ids(2, 6));
  ds->EnableControls();
  EXPECT_TRUE(ds->ControlsDisabled());
  EXPECT_TRUE(log.empty());
  ds->EnableControls();
  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_EQ(log, Log{"changed"});
}

TEST_F(DataSetEvents, ClosingWithControlsDisabledStillDeactivatesTheLinks) {
  make(12, 5);
  ds->Open();
  take(log);
  ds->DisableControls();
  ds->Close();
  EXPECT_EQ(take(log), Log{"inactive"});
  EXPECT_EQ(link.RecordCount(), 0);
  ds->EnableControls();
  EXPECT_EQ(log, Log{"changed"});
}

TEST_F(DataSetEvents, FieldChangesReLayOutTheLinks) {
  make(3, 2);
  ds->Open();
  take(log);
  TField& tm = ds->FieldByName("tm");
  tm.SetVisible(false);
  tm.SetDisplayLabel("作品"_gbk);
  tm.SetIndex(0);
  EXPECT_EQ(log, Log(3, "layout"));
  EXPECT_EQ(ds->Fields()[0], &tm);
  EXPECT_EQ(tm.DisplayName(), "作品"_gbk);
}

TEST_F(DataSetEvents, AThrowingBeforeScrollStopsTheMove) {
  make(12, 5);
  ds->Open();
  take(log);
  ds->BeforeScroll = [](TDataSet&) { throw EAbort(); };
  EXPECT_THROW(ds->Last(), EAbort);
  EXPECT_THROW(ds->Next(), EAbort);
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_TRUE(log.empty());
}

TEST_F(DataSetEvents, AReadFailureLeavesTheWindowInStep) {
  make(12, 5);
  ds->Open();
  ds->MoveBy(4);
  take(log);
  ds->failReadAt = 5;
  EXPECT_THROW(ds->Next(), EDatabaseError);
  EXPECT_EQ(log, Log{"scrolled 0"});
  EXPECT_EQ(window(link), ids(1, 5));
  ds->failReadAt = -1;
  ds->Next();
  EXPECT_EQ(window(link), ids(2, 6));
}

TEST_F(DataSetEvents, AFocusRequestStopsAtTheLinkThatTakesIt) {
  make(3, 2);
  LogLink second(log, "second ");
  second.SetDataSource(source);
  ds->Open();
  take(log);
  ds->FieldByName("tm").FocusControl();
  EXPECT_EQ(log, Log{"focus tm"});
}

TEST_F(DataSetEvents, ADisabledSourceKeepsItsLinksInactive) {
  make(3, 2);
  ds->Open();
  take(log);
  source->SetEnabled(false);
  ds->Next();
  EXPECT_EQ(log, Log{"inactive"});
  EXPECT_EQ(source->State(), dsInactive);
  source->SetEnabled(true);
  EXPECT_EQ(window(link), ids(1, 2));
  EXPECT_EQ(link.ActiveRecord(), 1);
}

TEST_F(DataSetEvents, OnFilterRecordSeesTheRecordItJudges) {
  make(12, 5);
  ds->filtered = true;
  ds->OnFilterRecord = [](TDataSet& d, bool& accept) {
    EXPECT_EQ(d.State(), dsFilter);
    accept = d.FieldByName("id").AsInteger() % 3 == 0;
  };
  ds->Open();
  EXPECT_EQ(window(link), (std::vector<int>{3, 6, 9, 12}));
  EXPECT_EQ(ds->State(), dsBrowse);
}

// Positions

TEST_F(DataSetPosition, ABookmarkComesBackInTheMiddle) {
  make(12, 5);
  ds->Open();
  ds->MoveBy(8);
  const TBookmark mark = ds->GetBookmark();
  ds->First();
  take(log);
  ds->GotoBookmark(mark);
  EXPECT_EQ(log, Log{"changed"});
  EXPECT_EQ(ds->RecNo(), 9);
  EXPECT_EQ(link.ActiveRecord(), 2);
  EXPECT_EQ(window(link), ids(7, 11));
  EXPECT_FALSE(ds->Bof() || ds->Eof());
}

TEST_F(DataSetPosition, SetRecNoMovesThere) {
  make(12, 5);
  ds->Open();
  ds->SetRecNo(9);
  EXPECT_EQ(ds->FieldByName("id").AsInteger(), 9);
  ds->SetRecNo(2);
  EXPECT_EQ(ds->RecNo(), 2);
}

TEST_F(DataSetPosition, DeleteRefillsTheWindowAroundTheSuccessor) {
  make(12, 5);
  ds->Open();
  ds->MoveBy(2);
  expectError<EDatabaseError>([&] { ds->Delete(); }, "Cannot modify a read-only dataset");
  ds->canModify = true;
  take(log);
  ds->Delete();
  EXPECT_EQ(log, Log{"changed"});
  EXPECT_EQ(window(link), (std::vector<int>{1, 2, 4, 5, 6}));
  EXPECT_EQ(ds->FieldByName("id").AsInteger(), 4);
}

// Fields

TEST_F(DataSetFieldAccess, FieldByNameRaisesForAMissingField) {
  make(1, 1);
  ds->Open();
  expectError<EDatabaseError>([&] { ds->FieldByName("zz"); }, "Field 'zz' not found");
  EXPECT_EQ(ds->FindField("zz"), nullptr);
  EXPECT_EQ(ds->FindField("ID"), &ds->FieldByName("id"));
  expectError<EListError>([&] { ds->Fields()[2]; }, "List index out of bounds (2)");
}

TEST(DataSetFields, DefaultFieldsFollowTheDefinitions) {
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(
      &owner,
      {{"id", ftInteger}, {"作品"_gbk, ftString, 40}, {"price", ftCurrency}, {"day", ftDate}, {"hidden", ftString, 5}},
      {{1, AnsiString("x"), 2.0, 3, AnsiString("h")}});
  ds->FieldDefs().Update();
  TFieldDef& hidden = *ds->FieldDefs()[4];
  hidden.SetAttributes(faHiddenCol);
  TFieldDef& member = *hidden.ChildDefs().Add("hidden.part", ftString, 2);
  EXPECT_EQ(member.ParentDef(), &hidden);
  EXPECT_TRUE(hidden.HasChildDefs());
  EXPECT_EQ(ds->FieldDefs()[0]->ParentDef(), nullptr);
  ds->Open();
  ASSERT_EQ(ds->FieldCount(), 4);
  EXPECT_TRUE(ds->DefaultFields());
  const TField& title = ds->FieldByName("作品"_gbk);
  EXPECT_STREQ(title.ClassName(), "TStringField");
  EXPECT_EQ(title.FieldNo(), 2);
  EXPECT_EQ(title.Size(), 40);
  EXPECT_EQ(title.DisplayWidth(), 40);
  EXPECT_EQ(title.DisplayLabel(), "");
  EXPECT_EQ(title.DisplayName(), "作品"_gbk);
  EXPECT_EQ(title.Alignment(), taLeftJustify);
  EXPECT_STREQ(ds->FieldByName("price").ClassName(), "TCurrencyField");
  EXPECT_EQ(ds->FieldByName("price").Alignment(), taRightJustify);
  EXPECT_STREQ(ds->FieldByName("day").ClassName(), "TDateField");
  EXPECT_EQ(ds->FieldByName("day").DisplayWidth(), 10);
  ds->FieldByName("id").SetDisplayWidth(3);
  EXPECT_EQ(ds->FieldByName("id").DisplayWidth(), 3);
  EXPECT_EQ(DefaultFieldClass(ftADT), nullptr);
}

TEST(FieldText, AsStringOfEachKindOfValue) {
  const std::vector<Column> columns = {{"s", ftString, 10}, {"w", ftWideString, 10}, {"b", ftBoolean}, {"i", ftInteger},
                                       {"l", ftLargeint},   {"f", ftFloat},          {"bcd", ftBCD},   {"d", ftDate},
                                       {"t", ftTime},       {"dt", ftDateTime},      {"m", ftMemo},    {"blob", ftBlob},
                                       {"fmt", ftFMTBcd},   {"g", ftGuid},           {"v", ftVariant}};
  std::vector<std::uint8_t> bcd(34, 0);
  bcd[0] = 5;         // digits 0 1 2 3 4
  bcd[1] = 0x80 | 2;  // negative, two after the point
  bcd[2] = 0x01;
  bcd[3] = 0x23;
  bcd[4] = 0x40;
  const Row values = {"床前"_gbk,
                      WideString(u"明月光"),
                      true,
                      std::int32_t{-42},
                      std::int64_t{9000000000},
                      0.1 + 0.2,
                      12.5,
                      std::int32_t{738945},
                      std::int32_t{(13 * 3600 + 5 * 60 + 9) * 1000 + 999},
                      738945.0 * 86400000 + 45296000,
                      AnsiString("line 1\r\nline 2"),
                      std::vector<std::uint8_t>{'A', 'B'},
                      bcd,
                      AnsiString("{0A}"),
                      std::int64_t{5}};
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(&owner, columns, {values, Row(columns.size())});
  ds->Open();
  const std::vector<AnsiString> expected = {"床前"_gbk,
                                            "明月光"_gbk,
                                            "True",
                                            "-42",
                                            "9000000000",
                                            "0.3",
                                            "12.5",
                                            "2024-02-29",
                                            "13:05:09",
                                            "2024-02-29 12:34:56",
                                            "line 1\r\nline 2",
                                            "AB",
                                            "-12.34",
                                            "{0A}",
                                            "5"};
  for (std::size_t i = 0; i < columns.size(); ++i) {
    EXPECT_EQ(ds->Fields()[static_cast<int>(i)]->AsString(), expected[i]) << columns[i].name;
    EXPECT_EQ(ds->Fields()[static_cast<int>(i)]->DisplayText(), expected[i]) << columns[i].name;
  }
  ds->Next();
  for (int i = 0; i < ds->FieldCount(); ++i) {
    const TField& field = *ds->Fields()[i];
    EXPECT_TRUE(field.IsNull()) << field.FieldName();
    EXPECT_EQ(field.AsString(), "") << field.FieldName();
    EXPECT_EQ(field.AsInteger(), 0) << field.FieldName();
  }
}

TEST(FieldText, OnlyTextAndIntegerFieldsTakeTheDataSetsDirectText) {
  const std::vector<Column> columns = {{"s", ftString, 10}, {"w", ftWideString, 10}, {"g", ftGuid, 38},
                                       {"i", ftInteger},    {"m", ftMemo},            {"f", ftFloat},
                                       {"h", ftSmallint},   {"o", ftWord},            {"l", ftLargeint},
                                       {"b", ftBoolean},    {"d", ftDate},            {"c", ftCurrency}};
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(&owner, columns,
                              {{AnsiString("a"), AnsiString("b"), AnsiString("{0A}"), std::int32_t{7}, AnsiString("memo"), 0.5,
                                std::int32_t{-3}, std::int32_t{9}, std::int64_t{-5}, true, std::int32_t{693594}, 1.25}});
  ds->Open();
  const auto texts = [&] {
    std::vector<AnsiString> all;
    for (int i = 0; i < ds->FieldCount(); ++i) all.push_back(ds->Fields()[i]->AsString());
    return all;
  };
  EXPECT_EQ(texts(), (std::vector<AnsiString>{"a", "b", "{0A}", "7", "memo", "0.5", "-3", "9", "-5", "True", "1899-12-30",
                                              "1.25"}))
      << "the base has no direct read";
  ds->directText = true;
  EXPECT_EQ(texts(), (std::vector<AnsiString>{"direct a", "direct b", "direct {0A}", "direct 7", "memo", "0.5", "direct -3",
                                              "direct 9", "direct -5", "True", "1899-12-30", "1.25"}));
  EXPECT_EQ(ds->directTextAsked, (std::vector<AnsiString>{"s", "w", "g", "i", "h", "o", "l"}));
  EXPECT_EQ(ds->FieldByName("s").Value(), TFieldValue(AnsiString("a"))) << "the value is still the data set's value";
  ds->rows.clear();
  ds->directTextAsked.clear();
  ds->First();
  EXPECT_EQ(ds->FieldByName("s").AsString(), "") << "an empty data set has no record to ask about";
  EXPECT_TRUE(ds->directTextAsked.empty());
}

TEST(FieldText, DatesCountFromTheFirstOfJanuaryOfYearOne) {
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(&owner, {{"d", ftDate}, {"dt", ftDateTime}},
                              {{std::int32_t{1}, std::int64_t{693594} * 86400000 + 1000},
                               {std::int32_t{693594}, 730120.0 * 86400000 + 86399999},
                               {std::int64_t{INT64_MAX}, std::int64_t{INT64_MIN}}});
  ds->Open();
  EXPECT_EQ(ds->FieldByName("d").AsString(), "0001-01-01");
  EXPECT_EQ(ds->FieldByName("dt").AsString(), "1899-12-30 00:00:01");
  ds->Next();
  EXPECT_EQ(ds->FieldByName("d").AsString(), "1899-12-30");
  EXPECT_EQ(ds->FieldByName("dt").AsString(), "2000-01-01 23:59:59");
  ds->Next();
  EXPECT_EQ(ds->FieldByName("d").AsString(), "9223372036854775807");
  EXPECT_FALSE(ds->FieldByName("dt").AsString().empty());
}

TEST(FieldText, NumbersFromTextAndBack) {
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(
      &owner, {{"s", ftString, 10}, {"f", ftFloat}, {"l", ftLargeint}},
      {{AnsiString(" 12 "), 2.5, std::int64_t{3000000000}}, {AnsiString("abc"), 1e300, std::int64_t{0}}});
  ds->Open();
  EXPECT_EQ(ds->FieldByName("s").AsInteger(), 12);
  EXPECT_DOUBLE_EQ(ds->FieldByName("s").AsFloat(), 12.0);
  EXPECT_EQ(ds->FieldByName("f").AsInteger(), 3);
  EXPECT_TRUE(ds->FieldByName("f").AsBoolean());
  EXPECT_EQ(ds->FieldByName("l").AsLargeInt(), 3000000000);
  expectError<EConvertError>([&] { ds->FieldByName("l").AsInteger(); },
                             "'3000000000' is not a valid integer value for field 'l'");
  ds->Next();
  expectError<EConvertError>([&] { ds->FieldByName("s").AsInteger(); },
                             "'abc' is not a valid integer value for field 's'");
  EXPECT_THROW(ds->FieldByName("s").AsBoolean(), EConvertError);
  EXPECT_THROW(ds->FieldByName("f").AsLargeInt(), EConvertError);
  EXPECT_EQ(ds->FieldByName("f").AsString(), "1e+300");
}

TEST(DataSetFields, CalculatedFieldsComeFromOnCalcFields) {
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(&owner, {{"id", ftInteger}, {"tm", ftString, 20}}, numberedRows(6));
  auto* id = new TIntegerField(&owner);
  id->SetFieldName("id");
  id->SetDataSet(ds);
  auto* tm = new TStringField(&owner);
  tm->SetFieldName("tm");
  tm->SetDataSet(ds);
  auto* label = new TStringField(&owner);
  label->SetFieldName("label");
  label->SetFieldKind(fkCalculated);
  label->SetDataSet(ds);
  int calculations = 0;
  ds->OnCalcFields = [&](TDataSet& d) {
    ++calculations;
    EXPECT_EQ(d.State(), dsCalcFields);
    d.FieldByName("label").SetValue(d.FieldByName("tm").AsString() + "#" + d.FieldByName("id").AsString());
  };
  auto* source = new TDataSource(&owner);
  source->SetDataSet(ds);
  Log log;
  LogLink link(log);
  link.SetBufferCount(4);
  link.SetDataSource(source);
  ds->Open();
  EXPECT_FALSE(ds->DefaultFields());
  EXPECT_EQ(calculations, 4);
  EXPECT_EQ(label->FieldNo(), 0);
  EXPECT_EQ(tm->FieldNo(), 2);
  link.SetActiveRecord(3);
  EXPECT_EQ(label->AsString(), "poem 4#4");
  link.SetActiveRecord(0);
  ds->Last();
  EXPECT_EQ(label->AsString(), "poem 6#6");
  expectError<EDatabaseError>([&] { label->SetValue(AnsiString("x")); }, "Field 'label' cannot be modified");
  expectError<EDatabaseError>([&] { tm->SetValue(AnsiString("x")); }, "Dataset not in edit or insert mode");
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 3);
  expectError<EDatabaseError>(
      [&] {
        ds->Open();
        id->SetDataSet(nullptr);
      },
      "Cannot perform this operation on an open dataset");
}

TEST(DataSetFields, ADeclaredFieldWithoutAColumnStopsTheOpen) {
  TComponent owner(nullptr);
  auto* ds = new ArrayDataSet(&owner, {{"id", ftInteger}}, numberedRows(2));
  auto* stray = new TStringField(&owner);
  stray->SetFieldName("zz");
  stray->SetDataSet(ds);
  expectError<EDatabaseError>([&] { ds->Open(); }, "Field 'zz' not found");
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->liveBuffers, 0);
  EXPECT_EQ(ds->FieldCount(), 1);
}

// Lifetime

TEST_F(DataSetLifetime, DestroyingTheDataSetFirstDeactivatesTheLinks) {
  make(3, 2);
  ds->Open();
  take(log);
  delete ds;
  EXPECT_EQ(log, (Log{"inactive", "changed"}));
  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_EQ(link.DataSet(), nullptr);
  EXPECT_EQ(link.RecordCount(), 0);
  EXPECT_EQ(link.MoveBy(1), 0);
}

TEST_F(DataSetLifetime, DestroyingTheSourceFirstDetachesItsLinks) {
  make(12, 5);
  ds->Open();
  take(log);
  delete source;
  EXPECT_EQ(log, Log{"inactive"});
  EXPECT_EQ(link.DataSource(), nullptr);
  EXPECT_EQ(ds->BufferCount(), 1);
  ds->Next();
  EXPECT_EQ(ds->RecNo(), 2);
}

TEST_F(DataSetLifetime, DestroyingALinkFirstGivesUpItsBuffers) {
  make(12, 2);
  auto big = std::make_unique<LogLink>(log, "big ");
  big->SetBufferCount(8);
  big->SetDataSource(source);
  ds->Open();
  big.reset();
  EXPECT_EQ(ds->BufferCount(), 2);
  EXPECT_EQ(ds->liveBuffers, 3);
  delete ds;
  EXPECT_FALSE(link.Active());
}

TEST_F(DataSetLifetime, ADeclaredFieldOutlivesItsDataSet) {
  make(2, 1);
  auto* id = new TIntegerField(&owner);
  id->SetFieldName("id");
  id->SetDataSet(ds);
  ds->Open();
  delete ds;
  EXPECT_EQ(id->DataSet(), nullptr);
  EXPECT_TRUE(id->IsNull());
}

TEST_F(DataSetLifetime, OpeningWaitsForTheEndOfLoading) {
  owner.BeginLoading();
  make(2, 1);
  ds->SetActive(true);
  EXPECT_FALSE(ds->Active());
  owner.EndLoading();
  EXPECT_TRUE(ds->Active());
  EXPECT_EQ(log, (Log{"active", "changed"}));
}
