// A database file's schema is input like any other: declared types and table names that no
// program of ours would write must still give sound layouts and lookups.

#include <gtest/gtest.h>

#include "data/sqlite/LiteDataTypes.h"
#include "data/sqlite/LiteMetaData.h"
#include "data/sqlite/LiteRecordSet.h"
#include "tests/data/data_fixture.h"

namespace {

using Rows = std::vector<std::vector<TFieldValue>>;

struct Layout {
  int DataType, Length, Scale, Size;
  bool operator==(const Layout&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Layout& l) {
  return out << "code " << l.DataType << " length " << l.Length << " scale " << l.Scale << " size " << l.Size;
}

AnsiString repeated(const char* utf8, std::size_t bytes) {
  const AnsiString unit = text::utf8ToAnsi(utf8);
  AnsiString out;
  while (out.size() + unit.size() <= bytes) out += unit;
  return out;
}

class SchemaInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProp(prDatabase, folder.file("odd.db"));
    connection.SetProp(prASCIIDataBase, true);
    connection.Connect();
  }

  // One table with a column `v` of `declared`, holding `values` (SQL literals).
  void makeTable(const AnsiString& name, const AnsiString& declared, const std::vector<AnsiString>& values) {
    connection.ExecSQL("create table " + name + "(id integer primary key, v " + declared + ")");
    for (std::size_t i = 0; i < values.size(); ++i)
      connection.ExecSQL("insert into " + name + " values (" + std::to_string(i + 1) + ", " + values[i] + ")");
  }

  Rows readAll(const AnsiString& table, bool longStrings, bool flatBuffers, Layout& layout) {
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetProp(prLongStrings, longStrings);
    rs.SetProp(prFlatBuffers, flatBuffers);
    rs.SetSQL("select v from " + table + " order by id");
    rs.Open();
    const TFieldDesc& field = rs.Field(1);
    layout = {field.DataType, field.Length, field.Scale, field.Size};
    Rows rows;
    TRecordBytes row = rs.AllocRecBuf();
    while (rs.GetNextRecord(row.data())) rows.push_back({rs.GetValue(1, row.data())});
    return rows;
  }

  TempFolder folder;
  TSQLiteConnection connection;
};

}  // namespace

TEST_F(SchemaInputTest, LengthsAndScalesOutOfRangeReadAsIfNoneWereDeclared) {
  const AnsiString title = repeated("静夜思", 300), essay = repeated("床前明月光", 5000);
  const std::vector<AnsiString> texts = {"'" + title + "'", "'" + essay + "'", "''", "null", "'short'"};
  const std::vector<AnsiString> bytes = {"x'" + AnsiString(600, 'a') + "'", "x'" + AnsiString(10000, 'b') + "'",
                                         "x''", "null", "x'0102'"};
  const std::vector<AnsiString> numbers = {"12345.678", "-0.5", "99999999999999", "null", "0"};
  // Each odd declaration beside the plain one it must behave like.
  struct Case {
    const char* odd;
    const char* plain;
    const std::vector<AnsiString>* values;
  };
  const std::vector<Case> cases = {
      {"varchar(-1)", "varchar", &texts},          {"varchar(0)", "varchar", &texts},
      {"varchar( -7 )", "varchar", &texts},        {"char(99999999999)", "char", &texts},
      {"varchar(65536)", "varchar", &texts},       {"nchar(-2147483649)", "nchar", &texts},
      {"varchar(1e3)", "varchar", &texts},         {"binary(-3)", "binary", &bytes},
      {"varbinary(0)", "varbinary", &bytes},       {"varbinary(99999999999)", "varbinary", &bytes},
      {"decimal(40,-3)", "decimal(40)", &numbers}, {"numeric(-5,-5)", "numeric", &numbers},
      {"decimal(10,99999999999)", "decimal(10)", &numbers},
  };
  int n = 0;
  for (const Case& c : cases) {
    const AnsiString odd = "odd" + std::to_string(n), plain = "plain" + std::to_string(n++);
    makeTable(odd, c.odd, *c.values);
    makeTable(plain, c.plain, *c.values);
    for (const bool bcd : {false, true})
      for (const bool fmtbcd : {false, true})
        for (const bool longStrings : {false, true})
          for (const bool flat : {false, true}) {
            SCOPED_TRACE(std::string(c.odd) + (bcd ? " BCD" : "") + (fmtbcd ? " FMTBCD" : "") +
                         (longStrings ? " long strings" : "") + (flat ? " flat" : ""));
            connection.SetProp(prEnableBCD, bcd);
            connection.SetProp(prEnableFMTBCD, fmtbcd);
            Layout oddLayout{}, plainLayout{};
            const Rows oddRows = readAll(odd, longStrings, flat, oddLayout);
            const Rows plainRows = readAll(plain, longStrings, flat, plainLayout);
            EXPECT_EQ(oddLayout, plainLayout);
            EXPECT_EQ(oddRows, plainRows);
            ASSERT_EQ(oddRows.size(), c.values->size());
          }
  }
  Layout layout{};
  const Rows titles = readAll("odd0", true, false, layout);
  EXPECT_EQ(std::get<AnsiString>(titles[0][0]), title) << "a long title comes back whole";
  EXPECT_TRUE(std::holds_alternative<std::monostate>(titles[3][0]));
  const Rows blobs = readAll("odd7", true, false, layout);
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(blobs[1][0]).size(), 5000u) << "binary(-3) keeps every byte";
}

TEST_F(SchemaInputTest, DeclaredNumbersInsideTheRangeStillCount) {
  // The edges of what a descriptor holds, on both sides.
  EXPECT_EQ(MapDeclaredType("varchar(1)", false, false).Length, 1);
  EXPECT_EQ(MapDeclaredType("varchar(65535)", false, false).Length, 65535);
  EXPECT_EQ(MapDeclaredType("varchar(65536)", false, false).Length, 0);
  EXPECT_EQ(MapDeclaredType("varchar(0)", false, false).Length, 0);
  EXPECT_EQ(MapDeclaredType("varchar(+12)", false, false).Length, 12);
  EXPECT_EQ(MapDeclaredType("decimal(12,1)", true, false).Scale, 1);
  EXPECT_EQ(MapDeclaredType("decimal(12,0)", true, false).Scale, 0);
  EXPECT_EQ(MapDeclaredType("decimal(12,-1)", true, false).Scale, 0);
  EXPECT_EQ(MapDeclaredType("decimal(12,-1)", false, true).Scale, 0);
  EXPECT_EQ(MapDeclaredType("decimal(-12,3)", false, true).Length, 32);
  EXPECT_EQ(MapDeclaredType("decimal(-12,3)", true, false).Length, 18);
}

TEST_F(SchemaInputTest, ATableNameWithAQuoteIsLookedUpAsItIs) {
  connection.ExecSQL("create table \"it's\"(id integer primary key, \"v\" varchar(10) default 'x')");
  connection.ExecSQL("create table \"x' or '1'='1\"(n integer primary key)");
  const auto columns = GetTableColumns(connection, "it's");
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0].ColumnName, "id");
  EXPECT_FALSE(columns[0].Nullable);
  EXPECT_EQ(columns[1].ColumnName, "v");
  EXPECT_EQ(columns[1].DataType, "varchar(10)");
  EXPECT_EQ(GetTableColumns(connection, "IT'S").size(), 2u) << "ASCII case still ignored";
  EXPECT_EQ(connection.GetAutoIncColumns("it's"), (std::vector<AnsiString>{"id"}));
  EXPECT_TRUE(GetTableColumns(connection, "x' or '1'='1' or name = 'it's").empty())
      << "a name is only ever a name";
  EXPECT_EQ(GetTableColumns(connection, "x' or '1'='1").size(), 1u);

  // 語 is D5 5A in code page 936: its trail byte is a "Z" that must not be folded on its own
  // before the name becomes UTF-8.
  TSQLiteConnection utf8;
  utf8.SetProp(prDatabase, folder.file("utf8.db"));
  utf8.Connect();
  const AnsiString word = text::utf8ToAnsi("語");
  utf8.ExecSQL("create table " + word + "(id integer primary key)");
  EXPECT_EQ(GetTableColumns(utf8, word).size(), 1u);
  EXPECT_EQ(utf8.GetAutoIncColumns(word), (std::vector<AnsiString>{"id"}));
}
