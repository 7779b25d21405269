// The life of statements and handles at their edges: texts that compile to no statement, and
// a handle that SQLite will not close while a statement on it is still open.

#include <gtest/gtest.h>

#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteRecordSet.h"
#include "tests/data/data_fixture.h"

namespace {

class LiteCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection.SetProp(prDatabase, folder.file("poems.db"));
    connection.Connect();
    connection.ExecSQL("create table t(id integer primary key, x text)");
    connection.ExecSQL("begin");
    for (int i = 1; i <= 60; ++i) connection.ExecSQL("insert into t values (" + std::to_string(i) + ", 'a" + std::to_string(i) + "')");
    connection.ExecSQL("commit");
  }

  int count(const AnsiString& table) {
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetSQL("select count(*) from " + table);
    rs.Open();
    TRecordBytes row = rs.AllocRecBuf();
    rs.GetNextRecord(row.data());
    return static_cast<int>(std::get<std::int64_t>(rs.GetValue(1, row.data())));
  }

  TempFolder folder;
  TSQLiteConnection connection;
};

std::string refusal(const std::function<void()>& action) {
  try {
    action();
  } catch (const EDAError& e) {
    return e.Message();
  } catch (const Exception& e) {
    return "not an EDAError: " + e.Message();
  }
  return "(ran)";
}

}  // namespace

TEST_F(LiteCommandTest, ATextOfOnlyCommentsIsAnEmptyStatement) {
  for (const char* sql : {"-- nothing here", "/* nothing */", ";", " ; -- x\n;", "/* unclosed"}) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(refusal([&] { connection.ExecSQL(sql); }), "No SQL statement provided");
    TSQLiteRecordSet rs;
    rs.SetConnection(&connection);
    rs.SetSQL(sql);
    EXPECT_EQ(refusal([&] { rs.Open(); }), "No SQL statement provided");
    EXPECT_FALSE(rs.Active());
    EXPECT_EQ(refusal([&] { rs.ExecuteNoRows(); }), "No SQL statement provided");
    EXPECT_FALSE(rs.Command().GetPrepared());
  }
  // A comment before a statement is no reason to refuse it; after the first statement the rest
  // of the text is not run.
  EXPECT_EQ(refusal([&] { connection.ExecSQL("-- first the note\ndelete from t where id = 1; delete from t"); }), "(ran)");
  EXPECT_EQ(count("t"), 59);
  EXPECT_EQ(refusal([&] { connection.ExecSQL("   "); }), "not an EDAError: No SQL statement provided")
      << "a text of blanks is refused before it reaches SQLite";
}

TEST_F(LiteCommandTest, CollationsOutliveAHandleThatCouldNotBeClosed) {
  TSQLiteRecordSet rs;
  rs.SetConnection(&connection);
  // The condition compares every row with UniNoCase while it is read.
  rs.SetSQL("select x from t where x collate UniNoCase <> 'A7' order by id");
  rs.Open();
  EXPECT_EQ(rs.RecordCount(), 25);
  ASSERT_TRUE(rs.Command().GetPrepared()) << "rows are still to come";
  try {
    connection.Disconnect();
    FAIL() << "SQLite keeps a handle with an open statement";
  } catch (const ESQLiteError& e) {
    EXPECT_EQ(e.ErrorCode(), 5);
  }
  EXPECT_FALSE(connection.GetConnected()) << "closed all the same";
  EXPECT_EQ(ActiveConnectionCount(), 0);
  int rows = 0;
  while (rs.GetNextRecord()) ++rows;
  EXPECT_EQ(rows, 59) << "the statement read on with the collation";
  rs.Close();

  connection.Connect();  // the old handle closes now that its statement is gone
  EXPECT_EQ(count("t where x = 'a7'"), 1);
  connection.Disconnect();
  EXPECT_EQ(ActiveConnectionCount(), 0);
}

TEST_F(LiteCommandTest, ACollationInUseStaysRegisteredWhenTurnedOff) {
  TSQLiteRecordSet rs;
  rs.SetConnection(&connection);
  rs.SetSQL("select x from t where x collate UniNoCase <> 'A7' order by id");
  rs.Open();
  EXPECT_THROW(connection.SetProp(prDefaultCollations, false), ESQLiteError)
      << "SQLite refuses to drop a collation a statement uses";
  int rows = 0;
  while (rs.GetNextRecord()) ++rows;
  EXPECT_EQ(rows, 59);
  rs.Close();
  connection.SetProp(prDefaultCollations, false);
  EXPECT_THROW(count("t where x collate UniNoCase = 'A7'"), ESQLiteError) << "gone once no statement uses it";
  connection.SetProp(prDefaultCollations, true);
  EXPECT_EQ(count("t where x collate UniNoCase = 'A7'"), 1);
}
