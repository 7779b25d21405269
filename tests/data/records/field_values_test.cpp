// Values put into a record and read back, for every data type code a record keeps.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/records/ValueCodec.h"
#include "tests/data/records/generated_rows.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
  std::uint16_t code;
  int length;
  TFieldValue put;
  TFieldValue expected;
};

// A FMTBCD record written out by hand: precision, sign and places, then the digits.
Bytes bcdRecord(int precision, int signAndPlaces, std::initializer_list<std::uint8_t> digitBytes) {
  Bytes record(34, 0);
  record[0] = static_cast<std::uint8_t>(precision);
  record[1] = static_cast<std::uint8_t>(signAndPlaces);
  std::size_t i = 2;
  for (std::uint8_t b : digitBytes) record[i++] = b;
  return record;
}

// 2024-03-09 10:11:12.5 as a 16-byte time stamp record.
Bytes timeStamp() {
  Bytes record(16, 0);
  const std::uint16_t parts[] = {2024, 3, 9, 10, 11, 12};
  std::memcpy(record.data(), parts, sizeof parts);
  const std::uint32_t fraction = 500;
  std::memcpy(record.data() + 12, &fraction, sizeof fraction);
  return record;
}

std::string describe(const TFieldValue& value) {
  return std::visit(
      [](const auto& v) -> std::string {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return "null";
        else if constexpr (std::is_same_v<T, AnsiString>) return "text " + v;
        else if constexpr (std::is_same_v<T, WideString>) return "wide text of " + std::to_string(v.size());
        else if constexpr (std::is_same_v<T, Bytes>) return "bytes of " + std::to_string(v.size());
        else return std::to_string(v);
      },
      value);
}

// One record with a field per case.
struct Record {
  TMemData data;
  TRecordBytes bytes;
  explicit Record(const std::vector<Case>& cases) {
    for (const Case& c : cases) addField(data, ("f" + std::to_string(data.FieldCount() + 1)).c_str(), c.code, c.length);
    data.InitFields();
    bytes = data.AllocRecBuf();
    data.InitRecord(bytes.data());
  }
  ~Record() { data.FreeComplexFields(bytes.data()); }
};

// A value of every code a record keeps, and what reading it back gives.
std::vector<Case> everyCode() {
  const AnsiString poem = "床前明月光"_gbk;
  const double moment = 739319.0 * 86400000 + 36672500;  // 2024-03-09 10:11:12.5
  return {
      {dcString, 4, AnsiString("abcdef"), AnsiString("abcd")},
      {dcInt8, 0, std::int32_t{-128}, std::int32_t{-128}},
      {dcSmallint, 0, std::int32_t{-32768}, std::int32_t{-32768}},
      {dcInteger, 0, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::min()},
      {dcFloat, 0, 2.0 / 3.0, 2.0 / 3.0},
      {dcDate, 0, std::int32_t{739319}, std::int32_t{739319}},
      {dcTime, 0, std::int32_t{36672500}, std::int32_t{36672500}},
      {dcDateTime, 0, moment, moment},
      {dcWord, 0, std::int32_t{65535}, std::int32_t{65535}},
      {dcBoolean, 0, true, true},
      {dcLargeint, 0, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min()},
      {dcCurrency, 0, 12.34, 12.34},
      {dcBlob, 0, Bytes{0, 1, 255}, Bytes{0, 1, 255}},
      {dcMemo, 0, AnsiString("line\nbreak ") + poem, AnsiString("line\nbreak ") + poem},
      {dcHeapString, 40, poem, poem},
      {dcBytes, 4, Bytes{1, 2}, Bytes{1, 2, 0, 0}},
      {dcVarBytes, 4, Bytes{1, 2, 3, 4, 5}, Bytes{1, 2, 3, 4}},
      {dcHeapVarBytes, 300, Bytes(300, 7), Bytes(300, 7)},
      {dcUInt32, 0, std::int64_t{4294967295}, std::int64_t{4294967295}},
      {dcWideString, 3, WideString(u"静夜思啊"), WideString(u"静夜思")},
      {dcHeapWideString, 40, WideString(u"床前明月光"), WideString(u"床前明月光")},
      {dcBCD, 18, 12.3456, 12.3456},
      {dcFMTBCD, 10, 12.5, bcdRecord(3, 1, {0x12, 0x50})},
      {dcGuid, 38, AnsiString("{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"), AnsiString("{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}")},
      {dcWideMemo, 0, WideString(u"疑是地上霜\r\n"), WideString(u"疑是地上霜\r\n")},
      {dcSQLTimeStamp, 0, timeStamp(), timeStamp()},
  };
}

}  // namespace

TEST(FieldValues, EveryStoredCodeGivesBackWhatWasPut) {
  const std::vector<Case> cases = everyCode();
  Record record(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    SCOPED_TRACE("code " + std::to_string(cases[i].code));
    EXPECT_TRUE(record.data.GetNull(fieldNo, record.bytes.data())) << "a fresh record is all null";
    record.data.PutValue(fieldNo, record.bytes.data(), cases[i].put);
    EXPECT_FALSE(record.data.GetNull(fieldNo, record.bytes.data()));
  }
  // Read back only after every field was written: no field may reach into another.
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    const TFieldValue back = record.data.GetValue(fieldNo, record.bytes.data());
    EXPECT_EQ(back, cases[i].expected) << "code " << cases[i].code << ": " << describe(back);
  }
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    record.data.PutValue(fieldNo, record.bytes.data(), TFieldValue());
    EXPECT_EQ(record.data.GetValue(fieldNo, record.bytes.data()), TFieldValue()) << "code " << cases[i].code;
  }
}

TEST(FieldValues, TruthValuesAndRoundingFollowOneRule) {
  const std::vector<Case> cases = {
      {dcBoolean, 0, true, true},         {dcBoolean, 0, false, false},
      {dcBoolean, 0, std::int32_t{-5}, true}, {dcBoolean, 0, AnsiString("False"), false},
      {dcInteger, 0, 2.5, std::int32_t{3}},   {dcInteger, 0, -2.5, std::int32_t{-3}},
      {dcInteger, 0, 2.4999, std::int32_t{2}}, {dcLargeint, 0, AnsiString(" 42 "), std::int64_t{42}},
      {dcLargeint, 0, AnsiString("7.5"), std::int64_t{8}},
      // Narrower integer codes keep the low bits, as the fetch does.
      {dcSmallint, 0, std::int32_t{32768}, std::int32_t{-32768}}, {dcInt8, 0, std::int32_t{255}, std::int32_t{-1}},
      {dcWord, 0, std::int32_t{-1}, std::int32_t{65535}},
  };
  Record record(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    record.data.PutValue(fieldNo, record.bytes.data(), cases[i].put);
    EXPECT_EQ(record.data.GetValue(fieldNo, record.bytes.data()), cases[i].expected) << i << ": " << describe(cases[i].put);
  }
  std::int16_t stored = 0;
  std::memcpy(&stored, record.bytes.data() + record.data.Field(1).Offset, sizeof stored);
  EXPECT_EQ(stored, 1) << "true is kept as 1";

  for (const TFieldValue& bad : {TFieldValue(std::nan("")), TFieldValue(1e19), TFieldValue(-1e19),
                                 TFieldValue(AnsiString("12abc")), TFieldValue(Bytes{1})}) {
    try {
      record.data.PutValue(5, record.bytes.data(), bad);
      ADD_FAILURE() << describe(bad);
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Cannot convert type");
    }
  }
  EXPECT_EQ(record.data.GetValue(5, record.bytes.data()), TFieldValue(std::int32_t{3})) << "a refused value leaves the field";
}

TEST(FieldValues, FloatsWithAScaleAreRoundedAtAnyMagnitude) {
  struct Scaled {
    double put;
    unsigned scale;
    double expected;
  };
  const double large = std::numeric_limits<double>::max(), infinity = std::numeric_limits<double>::infinity();
  const std::vector<Scaled> scaled = {
      {2.0 / 3.0, 2, 0.67}, {-2.0 / 3.0, 2, -0.67}, {0.125, 2, 0.13}, {-0.125, 2, -0.13}, {0.004, 2, 0},
      {1234567.891, 2, 1234567.89}, {123456789012345.678, 2, 123456789012345.67},
      // From 16 whole digits on a double carries no second decimal to round away.
      {1234567890123456.7, 2, 1234567890123456.7}, {1e70, 2, 1e70}, {-1e300, 2, -1e300}, {large, 2, large},
      {infinity, 2, infinity}, {2.0 / 3.0, 0, 2.0 / 3.0}, {0.5, 65535, 0.5},
  };
  std::vector<Case> cases(scaled.size(), Case{dcFloat, 0, {}, {}});
  Record record(cases);
  for (std::size_t i = 0; i < scaled.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    record.data.Field(fieldNo).Scale = static_cast<std::uint16_t>(scaled[i].scale);
    record.data.PutValue(fieldNo, record.bytes.data(), scaled[i].put);
    EXPECT_EQ(record.data.GetValue(fieldNo, record.bytes.data()), TFieldValue(scaled[i].expected))
        << scaled[i].put << " to " << scaled[i].scale << " places";
  }
  EXPECT_EQ(codec::RoundToScale(123456789012.345678, 3), 123456789012.346);
  EXPECT_TRUE(std::isnan(codec::RoundToScale(std::nan(""), 2)));
}

TEST(FieldValues, DecimalRecordsHoldTextIntegersAndDoublesAndCompareAsNumbers) {
  const Bytes minusFiveHundredths = bcdRecord(3, 0x82, {0x00, 0x50});
  const std::vector<Case> cases = {
      {dcFMTBCD, 10, AnsiString("-0.05"), minusFiveHundredths},
      {dcFMTBCD, 10, std::int64_t{-1234567890123}, bcdRecord(13, 0x80, {0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x30})},
      {dcFMTBCD, 10, 1e20, bcdRecord(21, 0, {0x10})},
      {dcFMTBCD, 10, AnsiString("1.5E-3"), bcdRecord(5, 4, {0x00, 0x01, 0x50})},
      {dcFMTBCD, 10, minusFiveHundredths, minusFiveHundredths},
  };
  Record record(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const int fieldNo = static_cast<int>(i) + 1;
    record.data.PutValue(fieldNo, record.bytes.data(), cases[i].put);
    EXPECT_EQ(record.data.GetValue(fieldNo, record.bytes.data()), cases[i].expected) << i;
  }
  for (const TFieldValue& bad : {TFieldValue(1e70), TFieldValue(AnsiString("1e65")), TFieldValue(AnsiString("1,5")),
                                 TFieldValue(bcdRecord(65, 0, {})), TFieldValue(bcdRecord(2, 0, {0x1A})),
                                 TFieldValue(Bytes(33, 0))}) {
    EXPECT_THROW(record.data.PutValue(1, record.bytes.data(), bad), Exception) << describe(bad);
  }
  EXPECT_EQ(record.data.GetValue(1, record.bytes.data()), TFieldValue(minusFiveHundredths));
  EXPECT_EQ(codec::FmtBcdToText(bcdRecord(4, 4, {0x00, 0x15}).data()), "0.0015");

  const Bytes oneAndAHalf = bcdRecord(2, 1, {0x15}), oneFifty = bcdRecord(3, 2, {0x15, 0x00}),
              two = bcdRecord(1, 0, {0x20}), minusOne = bcdRecord(1, 0x80, {0x10}), minusZero = bcdRecord(1, 0x80, {});
  TMemData data;
  EXPECT_EQ(data.CompareFieldValues(oneAndAHalf, oneFifty, 0, dcFMTBCD), 0) << "1.5 and 1.50 are one number";
  EXPECT_EQ(data.CompareFieldValues(oneFifty, two, 0, dcFMTBCD), -1);
  EXPECT_EQ(data.CompareFieldValues(two, minusOne, 0, dcFMTBCD), 1) << "bytewise -1 would sort after 2";
  EXPECT_EQ(data.CompareFieldValues(minusOne, minusFiveHundredths, 0, dcFMTBCD), -1);
  EXPECT_EQ(data.CompareFieldValues(minusZero, bcdRecord(1, 0, {}), 0, dcFMTBCD), 0);
}

TEST(FieldValues, TrailingBlanksGoByTheFieldsKindAndTheTwoTrimOptions) {
  const std::vector<Case> cases = {{dcString, 8, AnsiString("ab  "), {}},
                                   {dcHeapString, 40, AnsiString("ab  "), {}},
                                   {dcWideString, 8, WideString(u"ab  "), {}},
                                   {dcHeapWideString, 40, WideString(u"ab  "), {}}};
  Record record(cases);
  EXPECT_TRUE(record.data.TrimFixedChar) << "the default";
  EXPECT_FALSE(record.data.TrimVarChar) << "the default";
  for (std::size_t i = 0; i < cases.size(); ++i) record.data.PutValue(static_cast<int>(i) + 1, record.bytes.data(), cases[i].put);
  for (const bool fixed : {false, true})
    for (const bool trimFixed : {false, true})
      for (const bool trimVar : {false, true}) {
        record.data.TrimFixedChar = trimFixed;
        record.data.TrimVarChar = trimVar;
        const bool trimmed = fixed ? trimFixed : trimVar;
        for (std::size_t i = 0; i < cases.size(); ++i) {
          const int fieldNo = static_cast<int>(i) + 1;
          record.data.Field(fieldNo).Fixed = fixed;
          const TFieldValue back = record.data.GetValue(fieldNo, record.bytes.data());
          const std::size_t length = std::visit(
              [](const auto& v) -> std::size_t {
                if constexpr (requires { v.size(); }) return v.size();
                else return 0;
              },
              back);
          EXPECT_EQ(length, trimmed ? 2u : 4u)
              << "code " << cases[i].code << (fixed ? " fixed" : " variable") << " TrimFixedChar " << trimFixed
              << " TrimVarChar " << trimVar;
        }
      }
}

TEST(FieldValues, LineEndsBecomeCarriageReturnLineFeedInEveryTextCodeWhenAsked) {
  const std::vector<Case> cases = {{dcString, 20, AnsiString("a\nb\r\nc\n"), {}},
                                   {dcHeapString, 40, AnsiString("a\nb\r\nc\n"), {}},
                                   {dcWideString, 20, WideString(u"a\nb\r\nc\n"), {}},
                                   {dcHeapWideString, 40, WideString(u"a\nb\r\nc\n"), {}},
                                   {dcMemo, 0, AnsiString("a\nb"), {}}};
  Record record(cases);
  for (std::size_t i = 0; i < cases.size(); ++i) record.data.PutValue(static_cast<int>(i) + 1, record.bytes.data(), cases[i].put);
  for (const bool convert : {false, true}) {
    record.data.ConvertEOL = convert;
    EXPECT_EQ(record.data.GetValue(1, record.bytes.data()), TFieldValue(AnsiString(convert ? "a\r\nb\r\nc\r\n" : "a\nb\r\nc\n")));
    EXPECT_EQ(record.data.GetValue(2, record.bytes.data()), TFieldValue(AnsiString(convert ? "a\r\nb\r\nc\r\n" : "a\nb\r\nc\n")));
    EXPECT_EQ(record.data.GetValue(3, record.bytes.data()), TFieldValue(WideString(convert ? u"a\r\nb\r\nc\r\n" : u"a\nb\r\nc\n")));
    EXPECT_EQ(record.data.GetValue(4, record.bytes.data()), TFieldValue(WideString(convert ? u"a\r\nb\r\nc\r\n" : u"a\nb\r\nc\n")));
    EXPECT_EQ(record.data.GetValue(5, record.bytes.data()), TFieldValue(AnsiString("a\nb"))) << "a memo stays as stored";
  }
}

TEST(FieldValues, TheDirectTextOfAFieldIsTheTextOfItsValueUnderEveryOption) {
  std::vector<Case> cases = everyCode();
  // Texts with what the options act on: trailing blanks and bare line ends, in a slot, in a
  // pooled piece and in a piece too large for the pool.
  const AnsiString shaped = "a\nb\r\n" + "静夜思"_gbk + "  ";
  cases.push_back({dcString, 20, shaped, {}});
  cases.push_back({dcHeapString, 40, shaped, {}});
  cases.push_back({dcHeapString, 4095, AnsiString(3000, 'x') + shaped, {}});
  cases.push_back({dcGuid, 38, AnsiString("{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}\n "), {}});
  cases.push_back({dcString, 8, AnsiString(""), {}});
  cases.push_back({dcString, 8, AnsiString(" "), {}});
  // The other end of every integer code's range, and a zero, which is not a null.
  cases.push_back({dcInt8, 0, std::int32_t{127}, {}});
  cases.push_back({dcSmallint, 0, std::int32_t{32767}, {}});
  cases.push_back({dcInteger, 0, std::numeric_limits<std::int32_t>::max(), {}});
  cases.push_back({dcWord, 0, std::int32_t{0}, {}});
  cases.push_back({dcUInt32, 0, std::int64_t{0}, {}});
  cases.push_back({dcLargeint, 0, std::numeric_limits<std::int64_t>::max(), {}});
  Record record(cases);
  const std::set<std::uint16_t> integers = {dcInt8, dcSmallint, dcWord, dcInteger, dcUInt32, dcLargeint};
  const auto direct = [&](std::uint16_t code) {
    return code == dcString || code == dcGuid || code == dcHeapString || integers.count(code) > 0;
  };
  // What the value reads as text: a text itself, a number its decimal digits.
  const auto textOf = [](const TFieldValue& value) {
    if (const auto* number = std::get_if<std::int32_t>(&value)) return AnsiString(std::to_string(*number));
    if (const auto* number = std::get_if<std::int64_t>(&value)) return AnsiString(std::to_string(*number));
    return std::get<AnsiString>(value);
  };
  int directFields = 0;
  for (const bool filled : {false, true}) {
    for (std::size_t i = 0; i < cases.size(); ++i)
      record.data.PutValue(static_cast<int>(i) + 1, record.bytes.data(), filled ? cases[i].put : TFieldValue());
    for (const bool fixed : {false, true})
      for (const bool trimFixed : {false, true})
        for (const bool trimVar : {false, true})
          for (const bool convertEOL : {false, true}) {
            record.data.TrimFixedChar = trimFixed;
            record.data.TrimVarChar = trimVar;
            record.data.ConvertEOL = convertEOL;
            for (std::size_t i = 0; i < cases.size(); ++i) {
              const int fieldNo = static_cast<int>(i) + 1;
              const std::uint16_t code = cases[i].code;
              record.data.Field(fieldNo).Fixed = fixed;
              SCOPED_TRACE("field " + std::to_string(fieldNo) + " code " + std::to_string(code) + (filled ? "" : " null") +
                           (fixed ? " fixed" : "") + (trimFixed ? " TrimFixedChar" : "") + (trimVar ? " TrimVarChar" : "") +
                           (convertEOL ? " ConvertEOL" : ""));
              AnsiString text = "untouched";
              const bool given = record.data.GetText(fieldNo, record.bytes.data(), text);
              ASSERT_EQ(given, direct(code));
              if (!given) {
                EXPECT_EQ(text, "untouched");
                continue;
              }
              ++directFields;
              const TFieldValue value = record.data.GetValue(fieldNo, record.bytes.data());
              EXPECT_EQ(text, filled ? textOf(value) : AnsiString());
              EXPECT_EQ(std::holds_alternative<std::monostate>(value), !filled);
            }
          }
  }
  EXPECT_EQ(directFields, 2 * 16 * 21) << "nine text and twelve integer fields, each read under sixteen options, null and filled";

  // And the text itself, with the options the reader runs with and with both acting.
  const int shapedSlot = static_cast<int>(cases.size()) - 11, bigPiece = shapedSlot + 2;
  AnsiString text;
  record.data.TrimVarChar = record.data.ConvertEOL = false;
  record.data.Field(shapedSlot).Fixed = record.data.Field(bigPiece).Fixed = false;
  ASSERT_TRUE(record.data.GetText(shapedSlot, record.bytes.data(), text));
  EXPECT_EQ(text, shaped);
  record.data.TrimVarChar = record.data.ConvertEOL = true;
  ASSERT_TRUE(record.data.GetText(shapedSlot, record.bytes.data(), text));
  EXPECT_EQ(text, "a\r\nb\r\n" + "静夜思"_gbk);
  ASSERT_TRUE(record.data.GetText(bigPiece, record.bytes.data(), text));
  EXPECT_EQ(text, AnsiString(3000, 'x') + "a\r\nb\r\n" + "静夜思"_gbk);
  const int firstInteger = static_cast<int>(cases.size()) - 5;
  for (const auto& [fieldNo, digits] : std::vector<std::pair<int, AnsiString>>{
           {2, "-128"}, {4, "-2147483648"}, {11, "-9223372036854775808"}, {19, "4294967295"}, {firstInteger, "127"},
           {firstInteger + 1, "32767"}, {firstInteger + 2, "2147483647"}, {firstInteger + 3, "0"},
           {firstInteger + 5, "9223372036854775807"}}) {
    ASSERT_TRUE(record.data.GetText(fieldNo, record.bytes.data(), text));
    EXPECT_EQ(text, digits) << "field " << fieldNo;
  }
}
