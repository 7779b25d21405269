#include <gtest/gtest.h>

#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteDataTypes.h"
#include "data/sqlite/LiteMetaData.h"
#include "data/sqlite/LiteRecordSet.h"
#include "tests/data/data_fixture.h"

namespace {

const AnsiString& g(const char* utf8) {
  static std::map<std::string, AnsiString> cache;
  return cache.try_emplace(utf8, text::utf8ToAnsi(utf8)).first->second;
}

class LiteRecordSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProp(prDatabase, folder.file("poems.db"));
    connection.SetProp(prASCIIDataBase, true);
    connection.Connect();
    connection.ExecSQL("create table sici(id integer primary key, tm text, zz text)");
    connection.ExecSQL("begin");
    for (int i = 1; i <= 60; ++i)
      connection.ExecSQL("insert into sici values (" + std::to_string(i) + ", '" + g("诗") + std::to_string(i) + "', '" +
                         g(i % 2 ? "李白" : "杜甫") + "')");
    connection.ExecSQL("commit");
    rs.SetConnection(&connection);
    rs.SetProp(prFlatBuffers, false);  // as the query data set passes it
  }

  int openAndCount(const AnsiString& sql) {
    rs.SetSQL(sql);
    rs.Open();
    int rows = 0;
    while (rs.GetNextRecord()) ++rows;
    return rows;
  }

  TempFolder folder;
  TSQLiteConnection connection;
  TSQLiteRecordSet rs;
};

}  // namespace

TEST(DeclaredTypes, MapByTheFirstMatchingRuleAndPromoteLongText) {
  const auto code = [](const char* declared) {
    TLiteColumnType t = MapDeclaredType(declared, false, false);
    PromoteColumnType(t, true, false);
    return std::make_pair(static_cast<int>(t.DataType), t.Length);
  };
  EXPECT_EQ(code("VARCHAR(20)"), std::make_pair(int{dcString}, 20));
  EXPECT_EQ(code("varchar (20)"), std::make_pair(int{dcString}, 20)) << "a blank before the parenthesis";
  EXPECT_EQ(code("VARCHAR(100)"), std::make_pair(int{dcHeapString}, 100));
  EXPECT_EQ(code("VARCHAR"), std::make_pair(int{dcHeapString}, 4095));
  EXPECT_EQ(code("VARCHAR(300)"), std::make_pair(int{dcHeapString}, 300)) << "long strings stay strings";
  EXPECT_EQ(code("VARCHAR(5000)"), std::make_pair(int{dcMemo}, 5000));
  EXPECT_EQ(code("TEXT").first, dcMemo);
  EXPECT_EQ(code("INTEGER").first, dcInteger);
  EXPECT_EQ(code("POINT").first, dcInteger) << "contains INT";
  EXPECT_EQ(code("BIGINT").first, dcLargeint);
  EXPECT_EQ(code("tinyint").first, dcSmallint);
  EXPECT_EQ(code("DECIMAL(10,2)").first, dcFloat);
  EXPECT_EQ(code("DECIMAL (10,2)"), std::make_pair(int{dcHeapString}, 4095)) << "no rule matches the spaced name";
  EXPECT_EQ(code("BLOB").first, dcBlob);
  EXPECT_EQ(code("boolean").first, dcBoolean);
  EXPECT_EQ(code("DATETIME").first, dcDateTime);
  EXPECT_EQ(code("VARBINARY(10)"), std::make_pair(int{dcVarBytes}, 10));
  EXPECT_EQ(code("VARBINARY").first, dcBlob);
  EXPECT_EQ(MapDeclaredType("NUMERIC(40,50)", false, true).Length, 32);
  EXPECT_EQ(MapDeclaredType("NUMERIC(40,50)", false, true).Scale, 32);
  EXPECT_EQ(MapDeclaredType("NUMERIC(12,6)", true, false).Scale, 4);
  TLiteColumnType flat = MapDeclaredType("VARCHAR(100)", false, false);
  PromoteColumnType(flat, true, true);
  EXPECT_EQ(flat.DataType, dcString) << "inline strings keep long text in the record";
}

TEST_F(LiteRecordSetTest, DescribesColumnsFromDeclaredTypesAndValues) {
  connection.ExecSQL("create table t(a varchar(4), b integer, c real, d blob, e varchar(40), f)");
  connection.ExecSQL("insert into t values ('" + g("明月光") + "', 7, 1.5, x'0001', null, 'plain')");
  rs.SetSQL("select a, b, c, d, e, f, count(*) as n from t");
  rs.Open();
  EXPECT_EQ(rs.Field(1).DataType, dcString);
  EXPECT_EQ(rs.Field(2).DataType, dcInteger);
  EXPECT_EQ(rs.Field(3).DataType, dcFloat);
  EXPECT_EQ(rs.Field(4).DataType, dcBlob);
  EXPECT_EQ(rs.Field(5).DataType, dcHeapString);
  EXPECT_EQ(rs.Field(6).DataType, dcHeapString) << "a table column without a declared type is text";
  EXPECT_EQ(rs.Field(7).DataType, dcLargeint) << "an expression takes the type of its value";
  EXPECT_EQ(rs.Field(7).Name, "n");
  ASSERT_TRUE(rs.GetNextRecord());
  TRecordBytes row = rs.AllocRecBuf();
  rs.GetRecord(row.data());
  EXPECT_EQ(std::get<AnsiString>(rs.GetValue(1, row.data())), g("明月")) << "cut to 4 bytes";
  EXPECT_EQ(std::get<std::int32_t>(rs.GetValue(2, row.data())), 7);
  EXPECT_DOUBLE_EQ(std::get<double>(rs.GetValue(3, row.data())), 1.5);
  EXPECT_EQ(std::get<std::vector<std::uint8_t>>(rs.GetValue(4, row.data())), (std::vector<std::uint8_t>{0, 1}));
  EXPECT_TRUE(rs.GetNull(5, row.data())) << "NULL sets only the indicator";
  EXPECT_EQ(std::get<std::int64_t>(rs.GetValue(7, row.data())), 1);
  ASSERT_EQ(rs.TablesInfo().size(), 1u);
  EXPECT_EQ(rs.TablesInfo()[0]->TableName, "t");
  EXPECT_EQ(rs.Field(1).ActualName, "a");
}

TEST_F(LiteRecordSetTest, FetchesInBlocksAndLetsGoOfTheStatementAtTheEnd) {
  rs.SetSQL("select id, tm as " + g("作品") + ", zz as " + g("作者") + " from sici");
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 25);
  EXPECT_EQ(rs.Field(2).Name, g("作品"));
  EXPECT_TRUE(rs.Command().GetPrepared());
  int rows = 0;
  while (rs.GetNextRecord()) ++rows;
  EXPECT_EQ(rows, 60);
  EXPECT_FALSE(rs.Command().GetPrepared()) << "finalized once the last row is read";

  EXPECT_EQ(openAndCount("select * from sici where id <= 25"), 25);
  rs.SetSQL("select * from sici where id <= 25");
  rs.Open();
  EXPECT_TRUE(rs.FetchedAll()) << "exactly 25 rows end in the first block";
  rs.SetSQL("select * from sici where id <= 26");
  rs.Open();
  EXPECT_FALSE(rs.FetchedAll());
  EXPECT_TRUE(rs.Fetch());
  EXPECT_EQ(rs.RecordCount(), 26);

  rs.SetSQL("select * from sici where id > 1000");
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 0);
  EXPECT_FALSE(rs.Command().GetPrepared()) << "an empty result is finalized without a row read";
}

TEST_F(LiteRecordSetTest, RunsOnlyTheFirstStatementAndRefusesStatementsWithoutRows) {
  EXPECT_EQ(openAndCount("select * from sici where id = 1; delete from sici"), 1);
  EXPECT_EQ(openAndCount("select count(*) from sici"), 1);
  rs.Close();
  rs.SetSQL("select id from sici where id = 60");
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 1) << "the delete never ran";
  rs.SetSQL("delete from sici where id = 60");
  try {
    rs.Open();
    FAIL() << "a delete has no rows to show";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "SQL statement doesn't return rows");
  }
  EXPECT_FALSE(rs.Active());
}

TEST_F(LiteRecordSetTest, GbkTextComesBackByteForByteOnlyOnAnEightBitConnection) {
  const AnsiString sql = "select tm from sici where id = 1";
  EXPECT_EQ(openAndCount(sql), 1);
  TRecordBytes row = rs.AllocRecBuf();
  rs.SetToBegin();
  rs.GetNextRecord(row.data());
  EXPECT_EQ(std::get<AnsiString>(rs.GetValue(1, row.data())), g("诗") + "1");

  TSQLiteConnection utf8;
  utf8.SetProp(prDatabase, folder.file("poems.db"));
  utf8.Connect();
  TSQLiteRecordSet other;
  other.SetConnection(&utf8);
  other.SetSQL(sql);
  other.Open();
  TRecordBytes altered = other.AllocRecBuf();
  other.GetNextRecord(altered.data());
  EXPECT_NE(std::get<AnsiString>(other.GetValue(1, altered.data())), g("诗") + "1");
}

TEST_F(LiteRecordSetTest, ParametersAreFoundOnceAndBoundByType) {
  rs.SetSQL("select id from sici where id >= :low and id <= :high and id <> :low + 1");
  ASSERT_EQ(rs.Command().Params().size(), 2u) << "a name used twice is one parameter";
  rs.Command().Params()[0] = {"low", dcInteger, std::int32_t{10}};
  rs.Command().Params()[1] = {"high", dcInteger, std::int32_t{13}};
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 3);
  rs.Close();
  rs.SetSQL("select id from sici where zz = :who");
  rs.Command().Params()[0] = {"who", dcString, g("杜甫")};
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 25);
  rs.SetToEnd();
  EXPECT_EQ(rs.RecordCount(), 30);

  rs.SetSQL("select id from sici where id = :a");
  rs.Command().Params().clear();
  try {
    rs.Open();
    FAIL() << "one placeholder, no parameter";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Incorrect parameter count. Expected: 1; Actual: 0");
  }
}

TEST_F(LiteRecordSetTest, TableColumnsComeFromTheCreatingStatement) {
  const auto columns = ParseCreateTable(
      "t", "CREATE TABLE t(\"id\" INTEGER PRIMARY KEY, tm VARCHAR ( 16 ) not null default 'x', /* note */ n, "
           "constraint k unique (tm, n), price decimal(10, 2) default 0)");
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[0].ColumnName, "id");
  EXPECT_FALSE(columns[0].Nullable) << "an integer primary key is assigned by SQLite";
  EXPECT_EQ(columns[1].DataType, "VARCHAR(16)");
  EXPECT_TRUE(columns[1].Nullable);
  EXPECT_EQ(columns[1].DefaultValue, "'x'");
  EXPECT_EQ(columns[2].ColumnName, "n");
  EXPECT_EQ(columns[2].DataType, "");
  EXPECT_EQ(columns[3].Position, 4) << "the constraint adds no column";
  EXPECT_EQ(columns[3].DataType, "decimal(10,2)");

  const auto sici = GetTableColumns(connection, "SICI");
  ASSERT_EQ(sici.size(), 3u);
  EXPECT_EQ(sici[0].ColumnName, "id");
  EXPECT_EQ(sici[0].TableName, "SICI");
  EXPECT_EQ(GetTableColumns(connection, "sici", "ZZ").size(), 1u);
  EXPECT_TRUE(GetTableColumns(connection, "nowhere").empty());
  EXPECT_THROW(GetTableColumns(connection, ""), Exception);
}

TEST_F(LiteRecordSetTest, LiteralModeReadsEveryColumnAsTheTextOfAnSqlLiteral) {
  connection.ExecSQL("create table lit(i integer, f real, t text, b blob, n)");
  connection.ExecSQL("insert into lit values (-7, 2.5, 'it''s " + g("诗") + "', x'00FF', null)");
  const char* sql = "select i, f, t, b, n from lit";
  rs.SetProp(prLiteralMode, true);
  rs.SetSQL(sql);
  rs.Open();
  TRecordBytes row = rs.AllocRecBuf();
  ASSERT_TRUE(rs.GetNextRecord(row.data()));
  std::vector<AnsiString> literals;
  for (int i = 1; i <= rs.FieldCount(); ++i) {
    EXPECT_EQ(rs.Field(i).DataType, dcWideMemo);
    literals.push_back(text::wideToAnsi(std::get<WideString>(rs.GetValue(i, row.data()))));
  }
  EXPECT_EQ(literals, (std::vector<AnsiString>{"-7", "2.5", "'it''s " + g("诗") + "'", "X'00FF'", "NULL"}));

  rs.SetProp(prLiteralMode, false);
  rs.SetSQL(sql);
  rs.Open();
  row = rs.AllocRecBuf();
  ASSERT_TRUE(rs.GetNextRecord(row.data()));
  EXPECT_EQ(rs.Field(1).DataType, dcInteger);
  EXPECT_EQ(std::get<std::int32_t>(rs.GetValue(1, row.data())), -7);
  EXPECT_TRUE(rs.GetNull(5, row.data()));
}
