#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "data/sql/CRParser.h"
#include "data/sqlite/LiteParser.h"
#include "platform/classes/Exceptions.h"

namespace {

using Tokens = std::vector<std::pair<int, AnsiString>>;

Tokens tokens(TParser& parser) {
  Tokens result;
  AnsiString lexem;
  for (int code; (code = parser.GetNext(lexem)) != lcEnd;) result.emplace_back(code, lexem);
  return result;
}

template <class Parser = TSQLParser>
Tokens tokens(const AnsiString& text) {
  Parser parser(text);
  return tokens(parser);
}

// Every token's raw text, blanks and comments included, joined again.
template <class Parser>
AnsiString rejoined(const AnsiString& text) {
  Parser parser(text);
  parser.OmitBlank = false;
  parser.OmitComment = false;
  parser.UnknownAsSymbol = true;
  AnsiString result;
  while (parser.GetNext() != lcEnd) result += parser.TokenText();
  return result;
}

std::vector<AnsiString> names(std::initializer_list<AnsiString> list) { return list; }

}  // namespace

// ---- Tokens ----------------------------------------------------------------------------------

TEST(SQLLexer, ChineseAliasesAreIdentifiersAndKeywordsGetTheirCodes) {
  const Tokens expected{{lxSELECT, "SELECT"}, {lcIdent, "id"},      {lxComma, ","},
                        {lcIdent, "tm"},      {lxAS, "AS"},         {lcIdent, "作品"_gbk},
                        {lxComma, ","},       {lcIdent, "zz"},      {lxAS, "AS"},
                        {lcIdent, "作者"_gbk}, {lxFROM, "FROM"},     {lcIdent, "sici"}};
  EXPECT_EQ(tokens("select id,tm as 作品,zz as 作者 from sici"_gbk), expected);
}

TEST(SQLLexer, SwitchesDecideWhatComesBackAndHow) {
  TSQLParser parser("select 'a' /*c*/ x");
  parser.OmitBlank = false;
  parser.OmitComment = false;
  parser.QuotedString = true;
  parser.Uppered = false;
  const Tokens expected{{lxSELECT, "select"}, {lcBlank, " "}, {lcString, "'a'"}, {lcBlank, " "},
                        {lcComment, "/*c*/"}, {lcBlank, " "}, {lcIdent, "x"}};
  EXPECT_EQ(tokens(parser), expected);

  TSQLParser plain("select x");
  plain.KeywordLookup = false;
  EXPECT_EQ(tokens(plain), (Tokens{{lcIdent, "select"}, {lcIdent, "x"}}));
}

TEST(SQLLexer, QuotedIdentifiersKeepTheirQuotesAndAreNeverKeywords) {
  EXPECT_EQ(tokens("\"from\" `x`"), (Tokens{{lcIdent, "\"from\""}, {lcSymbol, "`"}, {lcIdent, "x"}, {lcSymbol, "`"}}));
  EXPECT_EQ(tokens<TLiteParser>("\"from\" `select`"), (Tokens{{lcIdent, "\"from\""}, {lcIdent, "`select`"}}));
  // In the base parser the double quote quotes strings.
  EXPECT_EQ(tokens<TParser>("\"a b\""), (Tokens{{lcString, "a b"}}));
}

TEST(SQLLexer, HashAndDollarContinueButDoNotStartIdentifiers) {
  EXPECT_EQ(tokens("a#1$ #b"), (Tokens{{lcIdent, "a#1$"}, {lcSymbol, "#"}, {lcIdent, "b"}}));
  EXPECT_EQ(tokens<TParser>("a#1"), (Tokens{{lcIdent, "a"}, {3, "#"}, {lcNumber, "1"}}));
}

TEST(SQLLexer, SymbolsTakeTheLongestPrefixInTheTable) {
  EXPECT_EQ(tokens("::="), (Tokens{{lxColon, ":"}, {lxColon, ":"}, {lxEqual, "="}}));
  EXPECT_EQ(tokens("a<>b"), (Tokens{{lcIdent, "a"}, {lcSymbol, "<"}, {lcSymbol, ">"}, {lcIdent, "b"}}));
  EXPECT_EQ(tokens<TBoolParser>("a<>b>=(c<-1)"),
            (Tokens{{lcIdent, "a"}, {bxNotEqual, "<>"}, {lcIdent, "b"}, {bxGreaterEqual, ">="}, {bxLeftParen, "("},
                    {lcIdent, "c"}, {bxLess, "<"}, {bxMinus, "-"}, {lcNumber, "1"}, {bxRightParen, ")"}}));
  EXPECT_EQ(tokens<TBoolParser>("x is not null and Y like 'a%'"),
            (Tokens{{lcIdent, "x"}, {bxIS, "IS"}, {bxNOT, "NOT"}, {bxNULL, "NULL"}, {bxAND, "AND"}, {lcIdent, "Y"},
                    {bxLIKE, "LIKE"}, {lcString, "a%"}}));
}

TEST(SQLLexer, NumbersTakeADecimalPartOnlyWhenADigitFollows) {
  EXPECT_EQ(tokens("3.14"), (Tokens{{lcNumber, "3.14"}}));
  EXPECT_EQ(tokens("3.x"), (Tokens{{lcNumber, "3"}, {lxPoint, "."}, {lcIdent, "x"}}));
  EXPECT_EQ(tokens("1e5 -2"), (Tokens{{lcNumber, "1"}, {lcIdent, "e5"}, {lcSymbol, "-"}, {lcNumber, "2"}}));
  EXPECT_EQ(tokens("select 1,2"), (Tokens{{lxSELECT, "SELECT"}, {lcNumber, "1"}, {lxComma, ","}, {lcNumber, "2"}}));
  TSQLParser comma("3,14");
  comma.DecSeparator = ',';
  EXPECT_EQ(tokens(comma), (Tokens{{lcNumber, "3,14"}}));
}

// ---- Strings and comments --------------------------------------------------------------------

TEST(SQLStrings, AQuotedNumberIsOneStringAndUnterminatedTextRunsToTheEnd) {
  EXPECT_EQ(tokens("where id='12' limit 1"),
            (Tokens{{lxWHERE, "WHERE"}, {lcIdent, "id"}, {lxEqual, "="}, {lcString, "12"}, {lxLIMIT, "LIMIT"},
                    {lcNumber, "1"}}));
  EXPECT_EQ(tokens("x='abc"), (Tokens{{lcIdent, "x"}, {lxEqual, "="}, {lcString, "abc"}}));
  EXPECT_EQ(tokens("'"), (Tokens{{lcString, ""}}));
  // A doubled apostrophe ends the string in SQL texts; the next one starts another.
  EXPECT_EQ(tokens("'it''s'"), (Tokens{{lcString, "it"}, {lcString, "s"}}));
  EXPECT_EQ(tokens<TBoolParser>("'it''s' x"), (Tokens{{lcString, "it's"}, {lcIdent, "x"}}));
}

TEST(SQLStrings, CommentsEndAtTheLineOrTheirCloseOrTheText) {
  EXPECT_EQ(tokens("a -- b 'c\r\nd"), (Tokens{{lcIdent, "a"}, {lcIdent, "d"}}));
  EXPECT_EQ(tokens("a /* b\n c */ d /* e"), (Tokens{{lcIdent, "a"}, {lcIdent, "d"}}));
  EXPECT_EQ(tokens("a /*/ b */ c"), (Tokens{{lcIdent, "a"}, {lcIdent, "c"}}));
  // "--" is no comment of the base parser, "//" none of SQL.
  EXPECT_EQ(tokens<TParser>("a--b // c"), (Tokens{{lcIdent, "a"}, {13, "-"}, {13, "-"}, {lcIdent, "b"}}));
  EXPECT_EQ(tokens("a//b"), (Tokens{{lcIdent, "a"}, {lxSlash, "/"}, {lxSlash, "/"}, {lcIdent, "b"}}));
}

// ---- GBK text --------------------------------------------------------------------------------

TEST(SQLLexerGbk, TrailBytesThatLookLikeDelimitersStayInTheirCharacter) {
  // 憑 is 91 7B ("{"), 東 96 7C ("|"), 倉 82 7D ("}"), 擺 94 5B ("["), 園 88 40 ("@").
  EXPECT_EQ(tokens("憑欄 東坡 倉擺園"_gbk), (Tokens{{lcIdent, "憑欄"_gbk}, {lcIdent, "東坡"_gbk}, {lcIdent, "倉擺園"_gbk}}));
  // 嘸 is 87 60: its trail byte is a back-quote and must not close the name.
  EXPECT_EQ(tokens<TLiteParser>("`嘸` x"_gbk), (Tokens{{lcIdent, "`嘸`"_gbk}, {lcIdent, "x"}}));
  EXPECT_EQ(tokens("x='淺' y"_gbk), (Tokens{{lcIdent, "x"}, {lxEqual, "="}, {lcString, "淺"_gbk}, {lcIdent, "y"}}));
}

TEST(SQLLexerGbk, ALeadByteWithoutItsTrailIsALetterOfItsOwn) {
  const AnsiString cut = "tm='"_gbk + "明月"_gbk.substr(0, 3);
  EXPECT_EQ(tokens(cut), (Tokens{{lcIdent, "tm"}, {lxEqual, "="}, {lcString, "明月"_gbk.substr(0, 3)}}));
  EXPECT_EQ(tokens("\xC3"), (Tokens{{lcIdent, "\xC3"}}));
  // A lead byte before a quote cannot swallow it.
  EXPECT_EQ(tokens("'\xC3' a"), (Tokens{{lcString, "\xC3"}, {lcIdent, "a"}}));
  EXPECT_EQ(tokens("\xC3'b'"), (Tokens{{lcIdent, "\xC3"}, {lcString, "b"}}));
  EXPECT_EQ(tokens("\x80\xFF"), (Tokens{{lcIdent, "\x80\xFF"}}));
}

// ---- Blanks, unknown characters, lines -------------------------------------------------------

TEST(SQLLexerBlanks, TabLineFeedAndCarriageReturnAreBlankAFormFeedIsUnknown) {
  EXPECT_EQ(tokens("a\tb\nc\rd"), (Tokens{{lcIdent, "a"}, {lcIdent, "b"}, {lcIdent, "c"}, {lcIdent, "d"}}));
  try {
    tokens("a\fb");
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Parser: The unknown symbol '\f'  $000C");
  }
  TSQLParser lenient("a\x01\x7F");
  lenient.UnknownAsSymbol = true;
  EXPECT_EQ(tokens(lenient), (Tokens{{lcIdent, "a"}, {lcSymbol, "\x01"}, {lcSymbol, "\x7F"}}));
  EXPECT_TRUE(tokens("").empty());
  EXPECT_TRUE(tokens(" \r\n\t").empty());
}

TEST(SQLLexerBlanks, TokensCoverTheWholeTextWhateverItHolds) {
  const AnsiString text = "select 'a\r\n''b' \"q\"\t-- c\r/* d */ `嘸` \x01 #x$ 3.5.6 \xC3"_gbk;
  EXPECT_EQ(rejoined<TSQLParser>(text), text);
  EXPECT_EQ(rejoined<TLiteParser>(text), text);
  EXPECT_EQ(rejoined<TBoolParser>(text), text);
  EXPECT_EQ(rejoined<TParser>(text), text);
}

TEST(SQLLexerLines, CarriageReturnLineFeedIsOneLineBreak) {
  TSQLParser parser("a\r\nbb\n\rc /*\n*/ d");
  parser.GetNext();
  EXPECT_EQ(parser.CurrLine(), 0);
  parser.GetNext();
  EXPECT_EQ(parser.Lexem(), "bb");
  EXPECT_EQ(parser.CurrLine(), 1);
  EXPECT_EQ(parser.CurrCol(), 2);
  EXPECT_EQ(parser.PrevLine(), 0);
  EXPECT_EQ(parser.PrevCol(), 1);
  parser.GetNext();
  EXPECT_EQ(parser.CurrLine(), 3);
  EXPECT_EQ(parser.CurrCol(), 1);
  parser.GetNext();
  EXPECT_EQ(parser.Lexem(), "d");
  EXPECT_EQ(parser.CurrLine(), 4);
  EXPECT_EQ(parser.LexemPos(), 16);
  parser.ToBegin();
  EXPECT_EQ(parser.CurrPos(), 1);
  EXPECT_EQ(parser.CurrLine(), 0);
}

TEST(SQLLexerLines, PositionsOfTheLastTwoTokens) {
  TSQLParser parser("ab  'cd' e");
  parser.GetNext();
  parser.GetNext();
  EXPECT_EQ(parser.PrevPos(), 3);
  EXPECT_EQ(parser.PrevPrevPos(), 1);
  EXPECT_EQ(parser.LexemPos(), 5);
  EXPECT_EQ(parser.LexemLength(), 4);
  EXPECT_EQ(parser.CurrPos(), 9);
  EXPECT_EQ(parser.TokenText(), "'cd'");
}

// ---- Searching -------------------------------------------------------------------------------

TEST(SQLLexerSearch, FindStopsJustAfterTheLexemeIgnoringCase) {
  TSQLParser parser("select 'from' /* from */ x From y");
  parser.QuotedString = true;
  EXPECT_TRUE(parser.Find("FROM"));
  EXPECT_EQ(parser.CurrPos(), 32);
  EXPECT_FALSE(parser.Find("from"));
}

TEST(SQLLexerSearch, BalancedSkipsStopOnlyOutsideParentheses) {
  TSQLParser parser("a, f(b, (c)), d from t");
  EXPECT_EQ(parser.SkipTo(lxComma), lxComma);
  EXPECT_EQ(parser.SkipToBalanced(lxComma), lxComma);
  EXPECT_EQ(parser.CurrPos(), 14);
  EXPECT_EQ(parser.SkipToBalanced({lxWHERE, lxFROM}), lxFROM);
  EXPECT_EQ(parser.SkipToBalanced(lxComma), lcEnd);
}

// ---- Parameters ------------------------------------------------------------------------------

TEST(SQLParams, EachNameOnceInOrderOfFirstUse) {
  EXPECT_EQ(ParseSQLParams("select * from t where a=:p1 or b=:P1 or c=:\"x y\""), names({"p1", "x y"}));
  EXPECT_EQ(ParseSQLParams("values(:1, :select, :@v, :\"z)"), names({"1", "select", "@v", "z)"}));
  EXPECT_EQ(ParseSQLParams("where zz=:作者"_gbk), names({"作者"_gbk}));
}

TEST(SQLParams, StringsCommentsDoubleColonsAndAssignmentsNameNone) {
  EXPECT_TRUE(ParseSQLParams("SELECT * FROM sici where id='12' limit 1").empty());
  EXPECT_TRUE(ParseSQLParams("select 'a:b' -- c:d\n/* :e */").empty());
  EXPECT_TRUE(ParseSQLParams("select a::text, b := 1, c: d, e:").empty());
  EXPECT_EQ(ParseSQLParams("a -- :x\n:y"), names({"y"}));
  EXPECT_TRUE(ParseSQLParams("a\f:b").size() == 1) << "an unknown character does not stop the scan";
}

TEST(SQLParams, TheSQLiteScanSkipsBlanksAndComparesNamesExactly) {
  EXPECT_EQ(ParseLiteParams("a=:p or b=:P or c=:p or d=: /**/ q"), names({"p", "P", "q"}));
  EXPECT_EQ(ParseLiteParams("a=:`b c` or :\"d\" or ::e or ?"), names({"`b c`", "d"}));
  EXPECT_TRUE(ParseLiteParams("x=':y' -- :z").empty());
  EXPECT_TRUE(ParseLiteParams("x:").empty());
}

// ---- Macros ----------------------------------------------------------------------------------

TEST(SQLMacros, AnAmpersandDirectlyBeforeANameOrKeywordNamesAMacro) {
  EXPECT_EQ(ParseSQLMacros("select * from t &where and &Where & x &1 &'s' &&y"), names({"where", "y"}));
  EXPECT_EQ(ParseSQLMacros("select &作品 from t where x='&a' -- &b\n"_gbk), names({"作品"_gbk}));
  EXPECT_TRUE(ParseSQLMacros("select a from t").empty());
  EXPECT_TRUE(ParseSQLMacros("&").empty());
}

TEST(SQLMacros, ReplacingChangesOnlyTheMacrosThatHaveValues) {
  const auto valueOf = [](const AnsiString& name, AnsiString& value) {
    if (name != "cond") return false;
    value = "id > 5";
    return true;
  };
  EXPECT_EQ(ReplaceSQLMacros("select * from t where &cond and x='&cond' &other &&cond", valueOf),
            "select * from t where id > 5 and x='&cond' &other &id > 5");
  EXPECT_EQ(ReplaceSQLMacros("a & b\f", valueOf), "a & b\f");
}

// ---- Statement information -------------------------------------------------------------------

namespace {
struct Select {
  std::vector<TSQLSelectItem> columns;
  std::vector<TSQLTableItem> tables;
};
Select select(const AnsiString& sql, const TSQLInfo& info = TSQLiteInfo()) {
  Select s;
  info.ParseSelect(sql, s.columns, s.tables);
  return s;
}
}  // namespace

TEST(SQLInfo, SelectListAndTablesOfThePoemLists) {
  Select s = select("select id,tm as 作品,zz as 作者 from sici"_gbk);
  EXPECT_EQ(s.columns, (std::vector<TSQLSelectItem>{{"id", "", "", ""}, {"tm", "", "作品"_gbk, ""}, {"zz", "", "作者"_gbk, ""}}));
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"sici", ""}}));

  s = select("select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id"_gbk);
  ASSERT_EQ(s.columns.size(), 3u);
  EXPECT_EQ(s.columns[1], (TSQLSelectItem{"tm", "sici", "作品"_gbk, ""}));
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"sici", ""}, {"tmpid", ""}}));

  s = select("SELECT * FROM sici where id='1' limit 1");
  EXPECT_EQ(s.columns, (std::vector<TSQLSelectItem>{{"*", "", "", ""}}));
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"sici", ""}}));
}

TEST(SQLInfo, ExpressionsJoinsAndSubSelects) {
  Select s = select("select distinct count(*) n, a+b, t.* from main.sici s left outer join poet p on p.zz = s.zz "
                    "and (p.nd like 'x'), (select 1 from x) q cross join \"my t\" limit 5");
  EXPECT_EQ(s.columns, (std::vector<TSQLSelectItem>{{"", "", "n", "count(*)"}, {"", "", "", "a+b"}, {"*", "t", "", ""}}));
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"main.sici", "s"}, {"poet", "p"}, {"my t", ""}}));

  s = select("select a from (t1 join t2 using (id)), t3 order by a");
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"t1", ""}, {"t2", ""}, {"t3", ""}}));
  EXPECT_EQ(select("select a from t limit 1").tables, (std::vector<TSQLTableItem>{{"t", ""}}));
}

TEST(SQLInfo, NamesLoseTheirQuotesAndMalformedTextEndsTheLists) {
  EXPECT_EQ(TSQLiteInfo().NormalizeName("[main].\"a.b\".`c`"), "main.a.b.c");
  EXPECT_EQ(TSQLInfo().NormalizeName("[x]"), "[x]");
  EXPECT_EQ(TSQLInfo().NormalizeName("\"unclosed"), "unclosed");
  EXPECT_TRUE(select("delete from tmpid;").columns.empty());
  Select s = select("select (a, from ((( t");
  EXPECT_EQ(s.columns.size(), 1u);
  EXPECT_TRUE(s.tables.empty());
  s = select("select a from ((( t");
  EXPECT_EQ(s.tables, (std::vector<TSQLTableItem>{{"t", ""}}));
}
