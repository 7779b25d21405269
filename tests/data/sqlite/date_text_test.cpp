// Date and time columns hold text that any program may have written; the formats that read
// them come from option lines.

#include <gtest/gtest.h>

#include <cmath>

#include "data/records/DateTimeText.h"
#include "data/sqlite/LiteRecordSet.h"
#include "tests/data/data_fixture.h"

namespace {

class DateTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProp(prDatabase, folder.file("dates.db"));
    connection.Connect();
    connection.ExecSQL("create table d(id integer primary key, a date, b datetime, c time)");
  }

  // The values of column `column` of d, in id order, each row holding `texts[i]` in a, b and c.
  std::vector<TFieldValue> read(const std::vector<AnsiString>& texts, int column) {
    connection.ExecSQL("delete from d");
    for (std::size_t i = 0; i < texts.size(); ++i)
      connection.ExecSQL("insert into d values (" + std::to_string(i) + ", '" + texts[i] + "', '" + texts[i] + "', '" +
                         texts[i] + "')");
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetSQL("select a, b, c from d order by id");
    rs.Open();
    std::vector<TFieldValue> values;
    TRecordBytes row = rs.AllocRecBuf();
    while (rs.GetNextRecord(row.data())) values.push_back(rs.GetValue(column, row.data()));
    return values;
  }

  TempFolder folder;
  TSQLiteConnection connection;
};

}  // namespace

TEST_F(DateTextTest, DatesOutsideTheCalendarReadAsNoDate) {
  // The first text is no date at all: every refused text must read like it.
  const std::vector<AnsiString> texts = {"no date",    "999999999-01-01", "10000-01-01", "0000-12-31",
                                         "2023-02-29", "2024-04-31",      "2024-13-01",  "2024-00-10",
                                         "0001-01-01", "9999-12-31",      "2024-02-29",  "99999999999999999999-1-1"};
  const std::vector<TFieldValue> dates = read(texts, 1);
  ASSERT_EQ(dates.size(), texts.size());
  for (std::size_t i = 1; i < 8; ++i) EXPECT_EQ(dates[i], dates[0]) << texts[i];
  EXPECT_EQ(dates[11], dates[0]) << texts[11];
  EXPECT_EQ(dates[8], TFieldValue(std::int32_t{1})) << "0001-01-01 is day 1";
  EXPECT_EQ(std::get<std::int32_t>(dates[9]) - std::get<std::int32_t>(dates[8]), 3652058) << "9999-12-31";
  EXPECT_NE(dates[10], dates[0]) << "2024 is a leap year";

  const std::vector<TFieldValue> stamps = read({"no date", "999999999-01-01 10:00:00", "9999-12-31 23:59:59"}, 2);
  EXPECT_EQ(stamps[1], stamps[0]);
  EXPECT_NE(stamps[2], stamps[0]);
}

TEST_F(DateTextTest, TimesTakeAtMostThreeDigitsOfMilliseconds) {
  const std::vector<TFieldValue> times =
      read({"no time", "10:00:00.1000", "10:00:00.999999999999", "24:00:00", "10:60", "10:00:00.999", "23:59:59"}, 3);
  EXPECT_EQ(times[1], times[0]);
  EXPECT_EQ(times[2], times[0]);
  EXPECT_EQ(times[3], times[0]);
  EXPECT_EQ(times[4], times[0]);
  EXPECT_EQ(times[5], TFieldValue(std::int32_t{10 * 3600000 + 999}));
  EXPECT_EQ(times[6], TFieldValue(std::int32_t{86399000}));
}

TEST_F(DateTextTest, AFormatThatNamesAPartTwiceReadsNoDate) {
  for (const char* format : {"ddd yyyy-mm-dd", "yyyy-mm-dd yy", "mm/dd/yyyy mm", "yyyy-mm", ""}) {
    SCOPED_TRACE(format);
    double value = 1;
    EXPECT_FALSE(ParseDateTime("2024-01-15", format, '-', ':', value));
    EXPECT_FALSE(ParseDateTime("Mon 2024-01-15", format, '-', ':', value));
  }
  double value = 0;
  EXPECT_TRUE(ParseDateTime("15.01.2024", "dd.mm.yyyy", '.', ':', value));
  EXPECT_EQ(value, EncodeDate(2024, 1, 15));
  EXPECT_TRUE(IsValidDateTimeFormat("yyyy-mm-dd hh:nn:ss.zzz"));
  EXPECT_TRUE(IsValidDateTimeFormat("YYYY/M/D"));
  EXPECT_FALSE(IsValidDateTimeFormat("hh:nn:ss hh"));
  EXPECT_FALSE(IsValidDateTimeFormat("yyyy-MM-mm"));

  connection.SetProp(prDateFormat, AnsiString("ddd yyyy-mm-dd"));
  const std::vector<TFieldValue> dates = read({"no date", "2024-01-15", "Mon 2024-01-15", "1 2024-01-15"}, 1);
  EXPECT_EQ(dates[1], dates[0]);
  EXPECT_EQ(dates[2], dates[0]);
  EXPECT_EQ(dates[3], dates[0]);
}

TEST(DateTimeFormat, WritesTheYearsOneToNineThousandNineHundredNinetyNineAndNoOthers) {
  const double first = EncodeDate(1, 1, 1), last = EncodeDate(9999, 12, 31);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", first), "0001-01-01");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss", last + 0.5), "9999-12-31 12:00:00");
  EXPECT_THROW(FormatDateTime("yyyy-mm-dd", first - 1), EConvertError);
  EXPECT_THROW(FormatDateTime("yyyy-mm-dd", last + 1), EConvertError);
  EXPECT_THROW(FormatDateTime("yyyy-mm-dd", 1e300), EConvertError);
  EXPECT_THROW(FormatDateTime("yyyy-mm-dd", std::nan("")), EConvertError);
  // Half a millisecond before midnight is the next day's midnight, not 24:00.
  const double day = EncodeDate(2024, 2, 28);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", day + (86400000.0 - 0.4) / 86400000.0),
            "2024-02-29 00:00:00.000");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", day + (86400000.0 - 1) / 86400000.0), "2024-02-28 23:59:59.999");
  EXPECT_THROW(FormatDateTime("yyyy", last + (86400000.0 - 0.4) / 86400000.0), EConvertError)
      << "rounding up past 9999-12-31";
}
