// Values on their way between SQLite and the record buffer: the fetch of every code SQLite
// columns can become, the parameters bound by code, and where text leaves the record.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "data/sqlite/LiteRecordSet.h"
#include "tests/data/data_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Days of 2024-03-09 counting 0001-01-01 as day 1, and 10:11:12 in milliseconds.
constexpr std::int32_t kDay = 738954;
constexpr std::int32_t kTime = 36672000;

Bytes bcdRecord(int precision, int signAndPlaces, std::initializer_list<std::uint8_t> digitBytes) {
  Bytes record(34, 0);
  record[0] = static_cast<std::uint8_t>(precision);
  record[1] = static_cast<std::uint8_t>(signAndPlaces);
  std::size_t i = 2;
  for (std::uint8_t b : digitBytes) record[i++] = b;
  return record;
}

class ValueReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProp(prDatabase, folder.file("values.db"));
    connection.SetProp(prASCIIDataBase, true);
    connection.Connect();
  }

  // Opens `sql` with the data set's defaults, on `on` or the fixture's connection, and reads
  // its first row.
  void open(TSQLiteRecordSet& rs, const AnsiString& sql, TSQLiteConnection* on = nullptr) {
    rs.SetConnection(on ? on : &connection);
    rs.SetProp(prFlatBuffers, false);
    rs.SetSQL(sql);
    rs.Open();
    row = rs.AllocRecBuf();
    ASSERT_TRUE(rs.GetNextRecord(row.data()));
  }

  // The bytes a fixed-size field keeps in the row.
  static Bytes fieldBytes(const TData& data, int fieldNo, const std::byte* record) {
    const TFieldDesc& field = data.Field(fieldNo);
    const auto* at = reinterpret_cast<const std::uint8_t*>(record + field.Offset);
    return Bytes(at, at + field.Size);
  }

  // Checks that putting `expected` into the field writes the bytes the fetch wrote.
  void expectSameBytesAsPut(TData& data, int fieldNo, const TFieldValue& expected) {
    TRecordBytes put = data.AllocRecBuf();
    data.InitRecord(put.data());
    data.PutValue(fieldNo, put.data(), expected);
    EXPECT_EQ(fieldBytes(data, fieldNo, put.data()), fieldBytes(data, fieldNo, row.data()))
        << "field " << data.Field(fieldNo).Name << ": the fetch and a put keep the value alike";
    data.FreeComplexFields(put.data());
  }

  TempFolder folder;
  TSQLiteConnection connection;
  TRecordBytes row;
};

}  // namespace

TEST_F(ValueReadTest, EveryCodeOfAnEightBitConnectionReadsAsItsValue) {
  connection.ExecSQL(
      "create table v(a varchar(10), b smallint, c integer, d real, e date, f time, g datetime, h boolean, i bigint, "
      "j money, k blob, l text, m varchar(100), n varbinary(10), o varbinary(100))");
  connection.ExecSQL("insert into v values ('abc', -32768, 2147483647, 2.5, '2024-03-09', '10:11:12', "
                     "'2024-03-09 10:11:12', 5, 9007199254740993, 12.34, x'00ff01', 'memo text', '" +
                     "床前明月光"_gbk + "', x'0102', x'" + std::string(80, '3') + "')");
  TSQLiteRecordSet rs;
  open(rs, "select * from v");
  const std::vector<std::pair<std::uint16_t, TFieldValue>> expected = {
      {dcString, AnsiString("abc")},
      {dcSmallint, std::int32_t{-32768}},
      {dcInteger, std::int32_t{2147483647}},
      {dcFloat, 2.5},
      {dcDate, kDay},
      {dcTime, kTime},
      {dcDateTime, double(kDay) * 86400000 + kTime},
      {dcBoolean, true},
      {dcLargeint, std::int64_t{9007199254740993}},
      {dcCurrency, 12.34},
      {dcBlob, Bytes{0, 255, 1}},
      {dcMemo, AnsiString("memo text")},
      {dcHeapString, "床前明月光"_gbk},
      {dcVarBytes, Bytes{1, 2}},
      {dcHeapVarBytes, Bytes(40, 0x33)},
  };
  ASSERT_EQ(rs.FieldCount(), static_cast<int>(expected.size()));
  for (int i = 1; i <= rs.FieldCount(); ++i) {
    const auto& [code, value] = expected[static_cast<std::size_t>(i - 1)];
    SCOPED_TRACE(rs.Field(i).Name);
    EXPECT_EQ(rs.Field(i).DataType, code);
    EXPECT_EQ(rs.GetValue(i, row.data()), value);
    if (!rs.Field(i).IsComplex()) expectSameBytesAsPut(rs, i, value);
  }
  std::int16_t stored = 0;
  std::memcpy(&stored, row.data() + rs.Field(8).Offset, sizeof stored);
  EXPECT_EQ(stored, 1) << "a true value read from SQLite is kept as 1, as a put keeps it";
}

TEST_F(ValueReadTest, DecimalsReadAsBcdOrFmtBcdWhenAsked) {
  connection.ExecSQL("create table p(x numeric(10,2), y numeric(10,2))");
  connection.ExecSQL("insert into p values (12.3456, 7)");
  for (const bool fmt : {false, true}) {
    SCOPED_TRACE(fmt ? "FMTBCD" : "BCD");
    connection.SetProp(prEnableBCD, !fmt);
    connection.SetProp(prEnableFMTBCD, fmt);
    TSQLiteRecordSet rs;
    open(rs, "select x, y from p");
    ASSERT_EQ(rs.Field(1).DataType, fmt ? dcFMTBCD : dcBCD);
    const TFieldValue x = fmt ? TFieldValue(bcdRecord(6, 4, {0x12, 0x34, 0x56})) : TFieldValue(12.3456);
    const TFieldValue y = fmt ? TFieldValue(bcdRecord(1, 0, {0x70})) : TFieldValue(7.0);
    EXPECT_EQ(rs.GetValue(1, row.data()), x) << "a real value";
    EXPECT_EQ(rs.GetValue(2, row.data()), y) << "an integer value";
    expectSameBytesAsPut(rs, 1, x);
    expectSameBytesAsPut(rs, 2, y);
  }
  // A value past the record's 64 digits is refused, not cut.
  connection.ExecSQL("insert into p values (1e70, 0)");
  TSQLiteRecordSet rs;
  rs.SetConnection(&connection);
  rs.SetSQL("select x from p where y = 0");
  try {
    rs.Open();
    FAIL() << "1e70 has 71 digits";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "BCD overflow");
  }
}

TEST_F(ValueReadTest, UnicodeColumnsReadAsWideText) {
  TSQLiteConnection unicode;
  unicode.SetProp(prDatabase, folder.file("unicode.db"));
  unicode.SetProp(prUseUnicode, true);
  unicode.Connect();
  unicode.ExecSQL("create table w(a varchar(4), b varchar(100), c text)");
  unicode.ExecSQL("insert into w values ('" + "静夜思啊"_gbk + "', '" + "床前明月光"_gbk + "', '" + "疑是地上霜"_gbk + "')");
  TSQLiteRecordSet rs;
  rs.SetConnection(&unicode);
  rs.SetProp(prFlatBuffers, false);
  rs.SetSQL("select a, b, c from w");
  rs.Open();
  TRecordBytes wide = rs.AllocRecBuf();
  ASSERT_TRUE(rs.GetNextRecord(wide.data()));
  EXPECT_EQ(rs.Field(1).DataType, dcWideString);
  EXPECT_EQ(rs.Field(2).DataType, dcHeapWideString);
  EXPECT_EQ(rs.Field(3).DataType, dcWideMemo);
  EXPECT_EQ(rs.GetValue(1, wide.data()), TFieldValue(WideString(u"静夜思啊")));
  EXPECT_EQ(rs.GetValue(2, wide.data()), TFieldValue(WideString(u"床前明月光")));
  EXPECT_EQ(rs.GetValue(3, wide.data()), TFieldValue(WideString(u"疑是地上霜")));
}

TEST_F(ValueReadTest, ParametersAreBoundByTheSameRulesAsAFieldKeepsThem) {
  struct Bound {
    std::uint16_t code;
    TFieldValue value;
    const char* type;
    TFieldValue read;
  };
  const std::vector<Bound> cases = {
      {dcBoolean, true, "integer", std::int64_t{1}},
      {dcBoolean, std::int32_t{-1}, "integer", std::int64_t{1}},
      {dcInteger, 2.6, "integer", std::int64_t{3}},
      {dcInteger, -2.5, "integer", std::int64_t{-3}},
      {dcLargeint, AnsiString("42"), "integer", std::int64_t{42}},
      {dcFloat, std::int32_t{3}, "real", 3.0},
      {dcFMTBCD, bcdRecord(3, 1, {0x12, 0x50}), "real", 12.5},
      {dcDate, kDay, "text", AnsiString("2024-03-09")},
      {dcTime, kTime, "text", AnsiString("10:11:12")},
      {dcDateTime, double(kDay) * 86400000 + kTime, "text", AnsiString("2024-03-09 10:11:12")},
      {dcBlob, Bytes{0, 1}, "blob", Bytes{0, 1}},
      {dcString, 0.1, "text", AnsiString("0.1")},
      {dcString, "李白"_gbk, "text", "李白"_gbk},
  };
  for (const Bound& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " from code " + std::to_string(c.code));
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetSQL("select typeof(:p), :p");
    rs.Command().Params()[0] = {"p", c.code, c.value};
    rs.Open();
    TRecordBytes bound = rs.AllocRecBuf();
    ASSERT_TRUE(rs.GetNextRecord(bound.data()));
    EXPECT_EQ(rs.GetValue(1, bound.data()), TFieldValue(AnsiString(c.type)));
    EXPECT_EQ(rs.GetValue(2, bound.data()), c.read);
  }
  TSQLiteRecordSet rs;
  rs.SetConnection(&connection);
  rs.SetSQL("select :p");
  rs.Command().Params()[0] = {"p", dcInteger, std::nan("")};
  try {
    rs.Open();
    FAIL() << "no number is no integer";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot convert type");
  }
}

TEST_F(ValueReadTest, TextLeavesTheRecordFrom32CharactersAndBecomesAMemoPastTheLongStringLimits) {
  connection.ExecSQL(
      "create table s(a varchar(31), b varchar(32), c varchar(254), d varchar(255), e varchar(4095), f varchar(4096), "
      "g varbinary(31), h varbinary(32), i varbinary(4095), j varbinary(4096))");
  connection.ExecSQL("insert into s(a, b) values ('" + std::string(40, 'a') + "', '" + std::string(40, 'b') + "')");
  struct Options {
    bool flat, longStrings;
    std::vector<std::uint16_t> codes;
  };
  const std::vector<Options> options = {
      {false, true, {dcString, dcHeapString, dcHeapString, dcHeapString, dcHeapString, dcMemo, dcVarBytes, dcHeapVarBytes, dcHeapVarBytes, dcBlob}},
      {true, true, {dcString, dcString, dcString, dcString, dcString, dcMemo, dcVarBytes, dcVarBytes, dcVarBytes, dcBlob}},
      {false, false, {dcString, dcHeapString, dcHeapString, dcMemo, dcMemo, dcMemo, dcVarBytes, dcHeapVarBytes, dcHeapVarBytes, dcBlob}},
  };
  for (const Options& o : options) {
    SCOPED_TRACE(std::string("FlatBuffers ") + (o.flat ? "on" : "off") + ", LongStrings " + (o.longStrings ? "on" : "off"));
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetProp(prFlatBuffers, o.flat);
    rs.SetProp(prLongStrings, o.longStrings);
    rs.SetSQL("select * from s");
    rs.Open();
    for (int i = 1; i <= rs.FieldCount(); ++i) EXPECT_EQ(rs.Field(i).DataType, o.codes[static_cast<std::size_t>(i - 1)]) << rs.Field(i).Name;
    TRecordBytes text = rs.AllocRecBuf();
    ASSERT_TRUE(rs.GetNextRecord(text.data()));
    EXPECT_EQ(rs.GetValue(1, text.data()), TFieldValue(std::string(31, 'a'))) << "cut to its length in the record";
    EXPECT_EQ(rs.GetValue(2, text.data()), TFieldValue(std::string(32, 'b'))) << "cut to its length wherever it is kept";
    EXPECT_EQ(rs.Field(1).Size, 32);
  }
}

TEST_F(ValueReadTest, TrailingBlanksOfVariableTextStayUnlessTrimVarCharIsOn) {
  connection.ExecSQL("create table b(a varchar(10), h varchar(100))");
  connection.ExecSQL("insert into b values ('ab  ', 'cd  ')");
  for (const bool trimVar : {false, true})
    for (const bool trimFixed : {true, false}) {
      SCOPED_TRACE(std::string("TrimVarChar ") + (trimVar ? "on" : "off") + ", TrimFixedChar " + (trimFixed ? "on" : "off"));
      TSQLiteRecordSet rs;
      rs.TrimVarChar = trimVar;
      rs.TrimFixedChar = trimFixed;
      open(rs, "select a, h from b");
      EXPECT_EQ(rs.GetValue(1, row.data()), TFieldValue(AnsiString(trimVar ? "ab" : "ab  ")));
      EXPECT_EQ(rs.GetValue(2, row.data()), TFieldValue(AnsiString(trimVar ? "cd" : "cd  ")));
    }
}

TEST_F(ValueReadTest, NullIsToldFromEmptyTextZeroLengthBlobsAndZeros) {
  connection.ExecSQL("create table z(a varchar(10), b varchar(100), c text, d integer, e bigint, f smallint, g boolean)");
  connection.ExecSQL("insert into z values (null, null, null, null, null, null, null)");
  connection.ExecSQL("insert into z values ('', '', '', 0, 0, 0, 0)");
  connection.ExecSQL("insert into z values (x'', x'', x'', '0', 0.0, '', 'text')");
  connection.ExecSQL("insert into z values ('a', 'b', 'c', -1, 9007199254740993, 7, 1)");
  TSQLiteRecordSet rs;
  open(rs, "select * from z");
  ASSERT_EQ(rs.Field(1).DataType, dcString);
  ASSERT_EQ(rs.Field(2).DataType, dcHeapString);
  ASSERT_EQ(rs.Field(3).DataType, dcMemo);
  const std::vector<std::vector<TFieldValue>> rows = {
      {{}, {}, {}, {}, {}, {}, {}},
      {AnsiString(), AnsiString(), AnsiString(), std::int32_t{0}, std::int64_t{0}, std::int32_t{0}, false},
      {AnsiString(), AnsiString(), AnsiString(), std::int32_t{0}, std::int64_t{0}, std::int32_t{0}, false},
      {AnsiString("a"), AnsiString("b"), AnsiString("c"), std::int32_t{-1}, std::int64_t{9007199254740993},
       std::int32_t{7}, true},
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (r > 0) ASSERT_TRUE(rs.GetNextRecord(row.data()));
    for (int i = 1; i <= rs.FieldCount(); ++i) {
      SCOPED_TRACE("row " + std::to_string(r + 1) + ", " + rs.Field(i).Name);
      const TFieldValue& expected = rows[r][static_cast<std::size_t>(i - 1)];
      EXPECT_EQ(rs.GetNull(i, row.data()), std::holds_alternative<std::monostate>(expected));
      EXPECT_EQ(rs.GetValue(i, row.data()), expected);
    }
  }
  EXPECT_FALSE(rs.GetNextRecord(row.data()));
}

TEST_F(ValueReadTest, TextEndsAtItsFirstZeroByteAndItsLengthWhileAMemoKeepsEveryByte) {
  connection.ExecSQL("create table n(a varchar(10), b varchar(100), c text, d varchar(40), e varchar(8))");
  connection.ExecSQL("insert into n values (cast(x'6162006364' as text), cast(x'6162006364' as text), "
                     "cast(x'6162006364' as text), '" + std::string(60, 'd') + "', '" + std::string(20, 'e') + "')");
  connection.ExecSQL("insert into n values ('', 'b', null, 'dd', 'e')");
  // The text as an 8-bit database reads it and as a UTF-8 one does, where the cut comes after
  // decoding: the record keeps the same in both.
  TSQLiteConnection utf8;
  utf8.SetProp(prDatabase, folder.file("values.db"));
  utf8.Connect();
  for (TSQLiteConnection* reader : {&connection, &utf8}) {
    SCOPED_TRACE(reader == &utf8 ? "UTF-8 database" : "8-bit database");
    TSQLiteRecordSet rs;
    open(rs, "select * from n", reader);
    ASSERT_EQ(rs.Field(1).DataType, dcString);
    ASSERT_EQ(rs.Field(2).DataType, dcHeapString);
    ASSERT_EQ(rs.Field(3).DataType, dcMemo);
    ASSERT_EQ(rs.Field(4).DataType, dcHeapString);
    ASSERT_EQ(rs.Field(5).DataType, dcString);
    std::byte* record = row.data();
    EXPECT_EQ(rs.GetValue(1, record), TFieldValue(AnsiString("ab")));
    EXPECT_EQ(rs.GetValue(2, record), TFieldValue(AnsiString("ab")));
    EXPECT_EQ(rs.GetValue(3, record), TFieldValue(AnsiString("ab\0cd", 5)));
    EXPECT_EQ(rs.GetValue(4, record), TFieldValue(std::string(40, 'd')));
    EXPECT_EQ(rs.GetValue(5, record), TFieldValue(std::string(8, 'e')));
    ASSERT_TRUE(rs.GetNextRecord(record));
    EXPECT_EQ(rs.GetValue(1, record), TFieldValue(AnsiString()));
    EXPECT_FALSE(rs.GetNull(1, record)) << "an empty text is not a null";
    EXPECT_EQ(rs.GetValue(2, record), TFieldValue(AnsiString("b")));
    EXPECT_TRUE(rs.GetNull(3, record));
    EXPECT_EQ(rs.GetValue(4, record), TFieldValue(AnsiString("dd")));
    EXPECT_EQ(rs.GetValue(5, record), TFieldValue(AnsiString("e")));
    rs.Close();
  }
}
