#include <gtest/gtest.h>

#include <vector>

#include "data/sqlite/LiteFormatter.h"
#include "data/sql/Macros.h"
#include "data/sqlite/SQLiteUniProvider.h"
#include "data/access/UniProvider.h"
#include "platform/classes/Exceptions.h"

namespace {

class SqlFormatterTest : public ::testing::Test {
 protected:
  AnsiString expand(const AnsiString& sql) { return formatting.Expand(sql, SqlFormatterClassOf(provider)); }

  // The message `sql` is refused with.
  AnsiString refusal(const AnsiString& sql) {
    try {
      const AnsiString result = expand(sql);
      return "(accepted: " + result + ")";
    } catch (const Exception& e) {
      return e.Message();
    }
  }

  // Registered explicitly: nothing else in this test program pulls the provider's unit in.
  bool registered = (RegisterSQLiteProvider(), true);
  TUniProvider* provider = TUniProviders::Instance().GetProvider("SQLite");
  TUniMacros macros;
  TSqlFormatting formatting{macros};
};

// Every statement the reader sends, assembled as the reader assembles it.
std::vector<AnsiString> readerStatements() {
  const AnsiString poets = "select zz as "_gbk;
  const AnsiString works = "select id,tm as 作品,zz as 作者 from sici"_gbk;
  std::vector<AnsiString> s{
      works,
      "select id,tm as 作品 from sici"_gbk,
      "select zz as 作者 from poet where nd like '%唐%'"_gbk,
      "select id,tm as 作品 from sici where zz ='楚嵩'"_gbk,
      poets + "五代"_gbk + "作者 from poet where nd like '%"_gbk + "五"_gbk + "%'",
      poets + "魏晋"_gbk + "作者 from poet where nd like '%"_gbk + "晋"_gbk + "%'",
      "select id,tm as "_gbk + "東坡居士"_gbk + "作品 from sici where zz ='"_gbk + "東坡居士"_gbk + "'",
      works + " where tm like '" + "憑欄"_gbk + "%'",
      works + " where tm like '%" + "静夜思"_gbk + "%'",
      works + " where zz like '%" + "李白"_gbk + "%'",
      "SELECT id FROM sici where nr like '%" + "床前明月光"_gbk + "%'",
      "delete from tmpid;",
      "replace INTO tmpid(id) VALUES (" + AnsiString("104862") + ");",
      "select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id"_gbk,
      works + " where 1=1 " + " and tc like '" + "五律"_gbk + "%'" + " and lb ='" + "送别"_gbk + "'" +
          " and nd like '%" + "五"_gbk + "%'" + " and zz like '%" + "李白"_gbk + "%'" + " and tm like '%" + "明月"_gbk +
          "%'",
      works + " where 1=1 " + " and zz like '%" + "淺園擺倉"_gbk + "%'",
      "SELECT * FROM sici where id='" + AnsiString("2") + "' limit 1",
      "select * from poet where zz='" + "李白"_gbk + "'",
      // Input the reader inserts as typed: an apostrophe, braces and "--", a cut character.
      works + " where tm like '%" + "it's"_gbk + "%'",
      works + " where tm like '%" + "{fn x} -- {"_gbk + "%'",
      works + " where zz like '%" + "明"_gbk.substr(0, 1) + "%'",
      works + "\r\n\twhere 1=1  ",
  };
  return s;
}

}  // namespace

// ---- Pass-through ----------------------------------------------------------------------------

TEST_F(SqlFormatterTest, TheReadersStatementsComeBackByteForByte) {
  for (const AnsiString& sql : readerStatements()) EXPECT_EQ(expand(sql), sql);
  for (const AnsiString& sql : readerStatements()) EXPECT_EQ(expand("{SQLITE}" + sql), sql) << "with an escape";
}

TEST_F(SqlFormatterTest, EmptyAndVeryLongTextsAndBracesInsideCharacters) {
  EXPECT_EQ(expand(""), "");
  // 憑 and 倉 end in the bytes of "{" and "}".
  const AnsiString braces = "select 憑,倉 from t where x='憑'"_gbk;
  EXPECT_EQ(expand(braces), braces);
  AnsiString longText = "select ";
  for (int i = 0; i < 100000; ++i) longText += "明月"_gbk + ",'x''y' ";
  EXPECT_EQ(expand(longText), longText);
}

// ---- Comments and quoted names ---------------------------------------------------------------

TEST_F(SqlFormatterTest, LineCommentsBecomeBlockComments) {
  EXPECT_EQ(expand("select a -- 注释\r\nfrom t --end"_gbk), "select a /* 注释*/\r\nfrom t /*end*/"_gbk);
  EXPECT_EQ(expand("select a -- x */ y\nfrom t"), "select a -- x */ y\nfrom t");
  EXPECT_EQ(expand("select '--a' /* -- */ \"--\""), "select '--a' /* -- */ \"--\"");
}

// ---- Functions -------------------------------------------------------------------------------

TEST_F(SqlFormatterTest, FunctionsFillTheirTemplatesWithTheArgumentTextsAsWritten) {
  EXPECT_EQ(expand("select {fn CONCAT(tm, ' ' )} from sici"), "select tm ||  ' '  from sici");
  EXPECT_EQ(expand("{fn substring(nr,1, length(x))}"), "SUBSTR(nr, 1,  length(x))");
  EXPECT_EQ(expand("{fn DATEADD(day, 3, '2024-01-31')}"), "DATE( '2024-01-31', ' 3 day')");
  EXPECT_EQ(expand("{fn CURRENT_DATE}{fn current_date()}"), "CURRENT_DATECURRENT_DATE");
  EXPECT_EQ(expand("{fn CHAR_LENGTH({fn TRIM(zz)})}"), "LENGTH(TRIM(zz))");
  EXPECT_EQ(expand("{fn TONUMBER('1,2')}"), "CAST('1,2' AS DOUBLE)");
}

TEST_F(SqlFormatterTest, BadFunctionCallsAreRefused) {
  EXPECT_EQ(refusal("{fn NOPE(a)}"), "Unknown function: NOPE");
  EXPECT_EQ(refusal("{fn CONCAT(a, (b)}"), "Invalid bracket count in function call");
  // Whatever follows the closing parenthesis would be lost.
  EXPECT_EQ(refusal("{fn TRIM(a))}"), "Invalid bracket count in function call");
  EXPECT_EQ(refusal("{fn TRIM(a) junk}"), "Invalid bracket count in function call");
  EXPECT_EQ(refusal("{fn TRIM(a)()}"), "Invalid bracket count in function call");
  EXPECT_EQ(refusal("{fn CURRENT_DATE() ,}"), "Invalid bracket count in function call");
  EXPECT_EQ(expand("{fn TRIM(a) }{fn TRIM(a) /* note */}{fn TRIM((a))}"), "TRIM(a)TRIM(a)TRIM((a))")
      << "blanks and comments after the call are no text";
  EXPECT_EQ(refusal("{fn CONCAT a}"), "Unexpected character");
  EXPECT_EQ(refusal("{fn 'x'}"), "Empty function name");
  EXPECT_EQ(refusal("{fn}"), "Empty function name");
  EXPECT_EQ(refusal("{fn CONCAT(a,b,c,d)}"), "Wrong argument count for function: CONCAT");
  EXPECT_EQ(refusal("{fn SUBSTRING(a,b)}"), "Wrong argument count for function: SUBSTRING");
  EXPECT_EQ(refusal("{fn CONCAT}"), "Wrong argument count for function: CONCAT");
  EXPECT_EQ(refusal("{fn TRIM(a, 'b')}"), "Wrong argument count for function: TRIM");
}

TEST_F(SqlFormatterTest, DateAndTimeLiteralsStayAsWritten) {
  EXPECT_EQ(expand("where d > {date  '2024-01-31' } and t < {time '12:00:00'} or {timestamp '2024-01-31 12:00:00'}"),
            "where d > '2024-01-31' and t < '12:00:00' or '2024-01-31 12:00:00'");
  EXPECT_EQ(refusal("{date 2024-01-31}"), "Invalid year-month-day string. The format is {date 'yyyy-mm-dd'}");
  EXPECT_EQ(refusal("{time '}"), "Invalid hour-minute-second string. The format is {time 'hh:mm:ss'}");
  EXPECT_EQ(refusal("{timestamp}"), "Invalid timestamp string. The format is {timestamp 'yyyy-mm-dd hh:mm:ss'}");
}

// ---- Conditions ------------------------------------------------------------------------------

TEST_F(SqlFormatterTest, ConditionalSectionsFollowTheDefinedMacros) {
  EXPECT_EQ(expand("a{if SQLITE} b{else} c{endif} d"), "a b d");
  EXPECT_EQ(expand("a{if ORACLE} b{else} c{endif} d"), "a c d");
  EXPECT_EQ(expand("a{if ORACLE} b{endif} d"), "a d");
  EXPECT_EQ(expand("{if sqlite}{if oracle}x{else}y{endif}{else}{if sqlite}z{endif}{endif}"), "y");
  EXPECT_EQ(expand("{if oracle}{fn NOPE()}{if x}{else}w{endif}{else}v{endif}"), "v") << "a dropped branch runs nothing";
  EXPECT_EQ(expand("{if}a{endif}"), "a");
}

TEST_F(SqlFormatterTest, UnbalancedConditionsAreRefused) {
  EXPECT_EQ(refusal("a{else}"), "Unexpected {else}");
  EXPECT_EQ(refusal("{if x}a{else}b{else}c{endif}"), "Unexpected {else}");
  EXPECT_EQ(refusal("a{endif}"), "Unexpected {endif}");
  EXPECT_EQ(refusal("{if SQLITE}a"), "{if} statement not completed");
}

// ---- Macros ----------------------------------------------------------------------------------

TEST_F(SqlFormatterTest, PredefinedAndConnectionMacros) {
  EXPECT_EQ(expand("{PROVIDER}/{provider}/{DATETIME}/{SQLITE}"), "SQLite/SQLite/TEXT/");
  macros.Add("tbl", "sici");
  macros.Add("cols", "id, {fn CONCAT(tm, zz)}");
  EXPECT_EQ(expand("select {cols} from {TBL}"), "select id, tm ||  zz from sici");
  EXPECT_EQ(expand("select * from {tbl where  id=1}"), "select * from sici where  id=1");
  EXPECT_EQ(expand("select * from t{nothing where x}"), "select * from t");
}

TEST_F(SqlFormatterTest, MacrosCountOnlyWhenTheirConditionIsDefined) {
  macros.Add("t", "plain");
  macros.Add("t", "for sqlite", "sqlite");
  macros.Add("t", "again", "sqlite");
  macros.Add("u", "for oracle", "ORACLE");
  macros.Add("v", "chained", "t");
  EXPECT_EQ(expand("{t}|{u}|{v}"), "for sqlite||chained");
  EXPECT_EQ(expand("{if u}x{else}y{endif}"), "y");
}

TEST_F(SqlFormatterTest, ChangesToTheMacrosAreSeenByTheNextStatement) {
  TUniMacro* macro = macros.Add("m", "one");
  EXPECT_EQ(expand("{m}"), "one");
  macro->SetValue("two");
  EXPECT_EQ(expand("{m}"), "two");
  macro->SetCondition("ORACLE");
  EXPECT_EQ(expand("{m}"), "");
  macros.Clear();
  EXPECT_EQ(expand("{m}"), "");
}

TEST_F(SqlFormatterTest, OtherProvidersGetTheNeutralFormatter) {
  EXPECT_EQ(expand("{PROVIDER}"), "SQLite");
  EXPECT_EQ(formatting.Expand("{PROVIDER}|{if SQLITE}a{else}b{endif}", SqlFormatterClassOf(nullptr)), "|b");
  EXPECT_EQ(expand("{PROVIDER}"), "SQLite");
}

TEST_F(SqlFormatterTest, CyclesAreRefusedInsteadOfRecursingForever) {
  macros.Add("a", "x", "b");
  macros.Add("b", "y", "a");
  EXPECT_EQ(refusal("{a}"), "Cyclic macros conditions");
  macros.Clear();
  macros.Add("self", "({self})");
  EXPECT_EQ(refusal("{self}"), "Macros or escapes nested too deeply");
  macros.Clear();
  EXPECT_EQ(expand("{a}"), "") << "a refused rebuild is not kept";
}

TEST_F(SqlFormatterTest, AQuerysTextLosesTrailingBlanksGetsItsMacrosAndIsFormatted) {
  const auto dataSetMacros = [](const AnsiString& name, AnsiString& value) {
    value = "{fn CONCAT(tm, zz)}";
    return name == "col";
  };
  EXPECT_EQ(StatementText("select &col, &x from sici \r\n\t\x01", formatting, provider, dataSetMacros),
            "select tm ||  zz, &x from sici");
  EXPECT_EQ(StatementText("select 1 -- a\n", formatting, provider), "select 1 /* a*/");
}

// ---- Escape syntax ---------------------------------------------------------------------------

TEST_F(SqlFormatterTest, MalformedEscapesAreRefusedNotMisread) {
  EXPECT_EQ(refusal("select {"), "Empty macro or function name");
  EXPECT_EQ(refusal("select { fn x}"), "Empty macro or function name");
  EXPECT_EQ(refusal("select {1}"), "Empty macro or function name");
  EXPECT_EQ(refusal("select {PROVIDER,x}"), "Unexpected character");
  EXPECT_EQ(refusal("select {PROVIDER"), "Unexpected character");
  EXPECT_EQ(expand("select {PROVIDER x"), "select SQLite x") << "an argument without its brace runs to the end";
  EXPECT_EQ(expand("a } b"), "a } b");

  AnsiString deep;
  for (int i = 0; i < 20000; ++i) deep += "{fn ";
  EXPECT_EQ(refusal(deep), "Macros or escapes nested too deeply");
  AnsiString unknown;
  for (int i = 0; i < 100000; ++i) unknown += "{a ";
  EXPECT_EQ(expand(unknown), "") << "an unknown macro drops its argument unread";
}
