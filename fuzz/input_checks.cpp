#include "fuzz/input_checks.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "data/records/DataTypes.h"
#include "data/records/DateTimeText.h"
#include "data/sqlite/LiteClassesUni.h"
#include "data/sqlite/LiteDataTypes.h"
#include "data/sqlite/LiteMetaData.h"
#include "platform/classes/Exceptions.h"

namespace {

void require(bool condition, const std::string& what) {
  if (!condition) throw EInputCheck(what);
}

bool inlineCode(int code) { return code == dcString || code == dcVarBytes; }

void checkDeclaredType(const AnsiString& declared) {
  for (const bool bcd : {false, true})
    for (const bool fmtbcd : {false, true}) {
      const TLiteColumnType mapped = MapDeclaredType(declared, bcd, fmtbcd);
      require(mapped.Length >= 0 && mapped.Length <= 65535, "length outside a descriptor");
      require(mapped.Scale >= 0 && mapped.Scale <= 65535, "scale outside a descriptor");
      if (mapped.DataType == dcFMTBCD)
        require(mapped.Length >= 1 && mapped.Length <= 32 && mapped.Scale <= mapped.Length, "FMTBCD precision");
      if (mapped.DataType == dcBCD)
        require(mapped.Length >= 1 && mapped.Length <= 18 && mapped.Scale <= 4, "BCD precision");
      for (const bool longStrings : {false, true})
        for (const bool inlineStrings : {false, true}) {
          TLiteColumnType promoted = mapped;
          PromoteColumnType(promoted, longStrings, inlineStrings);
          if (inlineCode(promoted.DataType))
            require(promoted.Length >= 1 && promoted.Length <= 4095, "inline text or bytes of no or huge length");
          const int size = DataTypeSize(promoted.DataType, promoted.Length);
          require(size > 0 && size <= 4097, "record slot of a bad size");
        }
    }
}

double dayNumber(std::string_view bytes) {
  double value;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

// Days of 0001-01-01 and of the day after 9999-12-31.
constexpr double kFirstDate = -693593, kPastLastDate = 2958466;

}  // namespace

void CheckSchemaInput(std::string_view input) {
  const auto lineFeed = input.find('\n');
  const AnsiString table(lineFeed == std::string_view::npos ? "t" : input.substr(0, lineFeed));
  const AnsiString sql(lineFeed == std::string_view::npos ? input : input.substr(lineFeed + 1));
  const std::vector<TLiteColumnInfo> columns = ParseCreateTable(table, sql);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const TLiteColumnInfo& column = columns[i];
    require(column.Position == static_cast<int>(i) + 1, "columns numbered out of order");
    require(column.TableName == table, "column of another table");
    require(column.ColumnName.size() <= sql.size(), "column name longer than the statement");
    require(column.DataType.size() <= 2 * sql.size(), "declared type longer than the statement allows");
    checkDeclaredType(column.DataType);
  }
  require(columns.size() <= sql.size(), "more columns than characters");
  checkDeclaredType(AnsiString(input));
}

void CheckDateTimeInput(std::string_view input) {
  const auto first = input.find('\0');
  const auto second = first == std::string_view::npos ? first : input.find('\0', first + 1);
  const AnsiString dateFormat(input.substr(0, first));
  const AnsiString timeFormat(first == std::string_view::npos ? std::string_view() : input.substr(first + 1, second - first - 1));
  const AnsiString text(second == std::string_view::npos ? std::string_view() : input.substr(second + 1));

  // The formats as a command takes them from the connection's options.
  TSQLiteCommand command;
  command.SetDateTimeFormats(dateFormat, timeFormat);
  const AnsiString both = command.DateFormat() + " " + timeFormat;
  double value = 0;
  if (ParseDateTime(text, command.DateFormat(), command.DateSeparator(), command.TimeSeparator(), value)) {
    require(std::isfinite(value) && value >= kFirstDate && value < kPastLastDate, "a date outside the calendar");
    const double day = std::floor(value);
    double back = -1;
    require(ParseDateTime(FormatDateTime("yyyy-mm-dd", day), "yyyy-mm-dd", '-', ':', back) && back == day,
            "a day that does not read back");
    const long long ms = std::llround((value - day) * 86400000.0) % 86400000;
    back = -1;
    require(ParseDateTime(FormatDateTime("hh:nn:ss.zzz", value), "yyyy-mm-dd", '-', ':', back) &&
                std::llround(back * 86400000.0) == ms,
            "a time that does not read back");
    FormatDateTime(command.DateFormat(), value);
    FormatDateTime(both, value);
  }
  require(IsValidDateTimeFormat(dateFormat) || !ParseDateTime("2024-01-15", dateFormat, '-', ':', value),
          "a date read with a format that names a part twice");
  // Any day number either writes or is refused as out of range.
  if (input.size() >= sizeof(double)) {
    const double any = dayNumber(input.substr(input.size() - sizeof(double)));
    try {
      FormatDateTime(both, any);
      require(any >= kFirstDate && any < kPastLastDate, "a date outside the calendar written");
    } catch (const EConvertError&) {
      // The last day may round up into the day after it.
      require(!(any >= kFirstDate && any < kPastLastDate - 1), "a date inside the calendar refused");
    }
  }
}

std::vector<std::string> SchemaSeeds() {
  return {
      "sici\nCREATE TABLE sici(id INTEGER PRIMARY KEY, tm varchar, zz varchar, nd varchar(16), tc varchar(16), lb "
      "varchar(16))",
      "poet\nCREATE TABLE poet(zz varchar, nd varchar(16), js text)",
      "t\nCREATE TABLE t(\"id\" INTEGER PRIMARY KEY, tm VARCHAR ( 16 ) not null default 'x', /* note */ n, "
      "constraint k unique (tm, n), price decimal(10, 2) default 0)",
      "odd\ncreate table odd(a varchar(-1), b binary(-3), c decimal(40,-3), d char(99999999999), e numeric(,), "
      "[f] nvarchar(65536), `g` varbinary(0), h decimal(10,99999999999))",
      "it's\ncreate table \"it's\"(id integer primary key autoincrement, v text check (v <> ''))",
      "varchar(-1)",
      "DECIMAL (10,2)",
  };
}

std::vector<std::string> DateTimeSeeds() {
  using namespace std::string_literals;
  return {
      "\0\0"s "2024-01-15",
      "\0\0"s "2024-01-15 10:20:30.456",
      "dd.mm.yyyy\0hh.nn.ss\0"s "15.01.2024 10.20.30",
      "mm/dd/yy\0\0"s "01/15/24",
      "ddd yyyy-mm-dd\0\0"s "Mon 2024-01-15",
      "\0\0"s "999999999-01-01",
      "\0hh:nn:ss hh\0"s "23:59:59.999",
  };
}

void WriteSeeds(int argc, char** argv, const std::vector<std::string>& seeds) {
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path folder = argv[i];
    std::error_code error;
    if (argv[i][0] == '-' || !std::filesystem::is_directory(folder, error) || !std::filesystem::is_empty(folder, error))
      continue;
    int n = 0;
    for (const std::string& seed : seeds) std::ofstream(folder / ("seed" + std::to_string(n++)), std::ios::binary) << seed;
  }
}
