#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "data/sqlite/GbkPatterns.h"
#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"
#include "tests/data/data_fixture.h"

using gbk::glob;
using gbk::like;

namespace {
const AnsiString& g(const char* utf8) {
  static std::map<std::string, AnsiString> cache;
  return cache.try_emplace(utf8, text::utf8ToAnsi(utf8)).first->second;
}
}  // namespace

TEST(GbkLike, FindsWholeCharactersOnly) {
  EXPECT_TRUE(like(g("%明月%"), g("床前明月光")));
  EXPECT_FALSE(like(g("%明月%"), g("白日依山尽")));
  EXPECT_TRUE(like(g("%依山%"), g("白日依山尽，黄河入海流。")));
  // B5 D4 is a character of its own, and also the tail of B6B5 with the head of 月 (D4C2).
  EXPECT_FALSE(like("%\xB5\xD4%", "\xB6\xB5\xD4\xC2"));
  EXPECT_TRUE(like("%\xB5\xD4%", "a\xB5\xD4"));
  EXPECT_TRUE(like(g("床前%"), g("床前明月光")));
  EXPECT_FALSE(like(g("前%"), g("床前明月光")));
  EXPECT_TRUE(like("%", ""));
  EXPECT_TRUE(like("%%", "abc"));
  EXPECT_FALSE(like(g("%明月%"), ""));
}

TEST(GbkLike, UnderscoreIsOneCharacterAndAsciiLettersIgnoreCase) {
  EXPECT_TRUE(like(g("床_明月光"), g("床前明月光")));
  EXPECT_FALSE(like(g("床__明月光"), g("床前明月光")));
  EXPECT_TRUE(like(g("_前%"), g("床前明月光")));
  EXPECT_TRUE(like("%tavrin%", g("Tavrin诗词大全")));
  EXPECT_TRUE(like(g("TAVRIN诗%"), g("tavrin诗词")));
  // 0x61 and 0x41 are letters on their own, but as trail bytes they are half a character.
  EXPECT_FALSE(like("\xB0\x61", "\xB0\x41")) << "trail bytes compare exactly";
  EXPECT_FALSE(like(g("%明月%"), g("明日")));
}

TEST(GbkLike, EscapeMakesWildcardsLiteralAndStarsBacktrack) {
  const std::string_view bang = "!";
  EXPECT_TRUE(like("100!%", "100%", bang));
  EXPECT_FALSE(like("100!%", "1000", bang));
  EXPECT_FALSE(like("a!", "a!", bang)) << "an escape with nothing after it matches nothing";
  EXPECT_TRUE(like(g("%明%光%"), g("床前明月光，疑是地上霜")));
  EXPECT_TRUE(like(g("%月%霜"), g("床前明月光，疑是地上霜")));
  EXPECT_FALSE(like(g("%月%霜"), g("床前明月光，疑是地上霜。")));
}

// B6B5 D4C2 is two characters whose middle bytes B5 D4 are a third one: a matcher that steps
// or backtracks by bytes instead of characters finds that third one where it is not.
TEST(GbkLike, EveryPatternShapeStepsByWholeCharacters) {
  const std::string_view straddled = "\xB6\xB5\xD4\xC2";
  EXPECT_FALSE(like("%\xB5\xD4%x", "\xB6\xB5\xD4\xC2x")) << "backtracking past a lead byte";
  EXPECT_TRUE(like("%\xB5\xD4%x", "a\xB5\xD4yx"));
  EXPECT_FALSE(like("%\xB5\xD4%\xC2%", straddled));
  EXPECT_FALSE(like("%\xB5\xD4_", straddled));
  EXPECT_FALSE(like("%\xB5\xD4", "\xB6\xB5\xD4"));
  EXPECT_TRUE(like("%\xB5\xD4", "\xB6\xB5\xB5\xD4")) << "the same bytes on a boundary";
  EXPECT_FALSE(like("_\xB5\xD4%", straddled)) << "_ is the whole first character";
  EXPECT_TRUE(like("_\xD4\xC2%", straddled));
  EXPECT_FALSE(like("__\xC2", straddled));
  EXPECT_TRUE(like("%_", straddled));
  EXPECT_FALSE(like("%___", straddled)) << "two characters, not four bytes";
  EXPECT_TRUE(like("%__", straddled));
  // Trail bytes that look like ASCII letters, "_", "@" or "%" are half a character.
  EXPECT_FALSE(like("%a_", "\xB0\x41z")) << "the A of B0 41 is no letter";
  EXPECT_TRUE(like("%a_", "\xB0\x41" "az"));
  EXPECT_FALSE(like("\xB0\x5F", "\xB0\x41")) << "the _ of B0 5F is no wildcard";
  EXPECT_TRUE(like("\xB0\x5F%", "\xB0\x5Fx"));
  EXPECT_TRUE(like("\xB0\x40%", "\xB0\x40xyz", std::string_view("@"))) << "the @ of B0 40 is no escape";
  EXPECT_FALSE(like("%@%\xB5\xD4%", "x%\xB6\xB5\xD4\xC2", std::string_view("@")));
  EXPECT_TRUE(like("%@%\xB5\xD4%", "x%\xB5\xD4", std::string_view("@")));
  EXPECT_FALSE(like("%@%\xB5\xD4%", "x\xB5\xD4", std::string_view("@"))) << "an escaped % is a percent sign";
  // A lone lead byte at the end of a text is a character of its own.
  EXPECT_TRUE(like("%_", "ab\xB6"));
  EXPECT_FALSE(like("%\xB6x", "\xB6"));
}

TEST(GbkGlob, EveryPatternShapeStepsByWholeCharacters) {
  const std::string_view straddled = "\xB6\xB5\xD4\xC2";
  EXPECT_FALSE(glob("*\xB5\xD4*x", "\xB6\xB5\xD4\xC2x"));
  EXPECT_FALSE(glob("*\xB5\xD4*", straddled));
  EXPECT_FALSE(glob("?\xB5\xD4*", straddled));
  EXPECT_TRUE(glob("?\xD4\xC2", straddled));
  EXPECT_FALSE(glob("*[\xB5\xD4]*", straddled)) << "a class holds whole characters";
  EXPECT_TRUE(glob("*[\xB5\xD4\xD4\xC2]", straddled));
  EXPECT_FALSE(glob("\xB0?", "\xB0\x41")) << "a lead byte and the byte after it are one character, even a ?";
  EXPECT_TRUE(glob("\xB0?*", "\xB0?\x41"));
}

TEST(GbkGlob, IsCaseSensitiveWithCharacterClasses) {
  EXPECT_TRUE(glob(g("*明月*"), g("床前明月光")));
  EXPECT_FALSE(glob(g("*明月*"), g("白日依山尽")));
  EXPECT_FALSE(glob("*ABC*", "xabcx"));
  EXPECT_TRUE(glob(g("床?明月光"), g("床前明月光")));
  EXPECT_TRUE(glob(g("[床窗]前*"), g("床前明月光")));
  EXPECT_FALSE(glob(g("[^床窗]前*"), g("床前明月光")));
  EXPECT_TRUE(glob("[a-c]x", "bx"));
  EXPECT_FALSE(glob("[a-c", "a")) << "an unclosed class matches nothing";
}

TEST(GbkLike, ReplacesSQLitesOwnFunctionsOnAnEightBitConnection) {
  TempFolder folder;
  TSQLiteConnection c;
  c.SetProp(prDatabase, folder.file("poems.db"));
  c.SetProp(prASCIIDataBase, true);
  c.Connect();
  c.ExecSQL("create table sici(id integer primary key, nr text)");
  c.ExecSQL("insert into sici values (1, '" + g("白日依山尽，黄河入海流。") + "')");
  c.ExecSQL("insert into sici values (2, '" + g("床前明月光，疑是地上霜。") + "')");
  c.ExecSQL("create table found(id integer check (id = 2))");
  // The check fails for any row but 2: each statement proves what LIKE selected.
  EXPECT_NO_THROW(c.ExecSQL("insert into found select id from sici where nr like '%" + g("明月") + "%'"));
  EXPECT_NO_THROW(c.ExecSQL("insert into found select id + 1 from sici where nr like '%" + g("依山") + "%'"));
  EXPECT_NO_THROW(c.ExecSQL("insert into found select count(*) + 1 from sici where nr like '%" + g("依山") + "%'"))
      << "exactly one poem has 依山";
  EXPECT_NO_THROW(c.ExecSQL("insert into found select count(*) + 1 from sici where nr like '%" + g("明月") + "%'"));
  EXPECT_NO_THROW(c.ExecSQL("insert into found select id from sici where nr glob '*" + g("疑是") + "*'"));
  EXPECT_NO_THROW(c.ExecSQL("insert into found select 2 where 'A' like 'a' and 'A' not glob 'a' and 'x%' like 'x!%' escape '!'"));
  EXPECT_THROW(c.ExecSQL("select 1 where 'a' like 'a' escape 'xy'"), ESQLiteError);
  EXPECT_NO_THROW(c.ExecSQL("insert into found select 2 where (null like 'a') is null"));
}

namespace {

// SQLite's own answer for `text LIKE pattern [ESCAPE escape]` or `text GLOB pattern`, from a
// connection that keeps its built-in functions (a UTF-8 database: ASCII text is the same bytes),
// on the current SQLite of the system: the encryption build the reader loads is older (3.15).
class SQLitesOwnAnswer {
 public:
  SQLitesOwnAnswer() {
    connection_.SetProp(prClientLibrary, AnsiString(kPlainSQLite));
    connection_.SetProp(prDatabase, folder_.file("own.db"));
    connection_.Connect();
  }
  int operator()(const std::string& op, const std::string& text, const std::string& pattern,
                 std::optional<std::string> escape = std::nullopt) {
    const std::string sql = "select ?1 " + op + " ?2" + (escape ? " escape ?3" : "");
    sqlite3_stmt* stmt = nullptr;
    sqlite3api.sqlite3_prepare_v2(connection_.GetDatabaseHandle(), sql.c_str(), -1, &stmt, nullptr);
    sqlite3api.sqlite3_bind_text(stmt, 1, text.c_str(), static_cast<int>(text.size()), sqlite::kTransient);
    sqlite3api.sqlite3_bind_text(stmt, 2, pattern.c_str(), static_cast<int>(pattern.size()), sqlite::kTransient);
    if (escape) sqlite3api.sqlite3_bind_text(stmt, 3, escape->c_str(), static_cast<int>(escape->size()), sqlite::kTransient);
    const int answer = sqlite3api.sqlite3_step(stmt) == sqlite::kRow ? sqlite3api.sqlite3_column_int(stmt, 0) : -1;
    sqlite3api.sqlite3_finalize(stmt);
    return answer;
  }

 private:
  TempFolder folder_;
  TSQLiteConnection connection_;
};

}  // namespace

TEST(GbkLike, AnEscapeThatIsAWildcardIsHonouredByEveryShapeOfPattern) {
  SQLitesOwnAnswer sqlite;
  struct Case {
    const char *text, *pattern, *escape;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"x", "%", "%"}, {"ab", "ab%", "%"}, {"", "%", "%"}, {"a%", "a%%", "%"}, {"ab", "a%b", "%"},
           {"x", "%x%", "%"}, {"%x%", "%%x%%", "%"}, {"x", "_", "_"}, {"_", "__", "_"}, {"ab", "a_", "_"},
           {"a_", "a__", "_"}, {"abc", "%b%", "!"}, {"a%c", "a!%c", "!"}, {"abc", "a!%c", "!"}, {"ab", "ab%", "!"}}) {
    const int own = sqlite("like", c.text, c.pattern, c.escape);
    ASSERT_GE(own, 0);
    EXPECT_EQ(like(c.pattern, c.text, std::string_view(c.escape)), own == 1)
        << "'" << c.text << "' LIKE '" << c.pattern << "' ESCAPE '" << c.escape << "'";
  }
}

TEST(GbkGlob, ClassesReadAsSQLiteReadsThem) {
  SQLitesOwnAnswer sqlite;
  for (const auto& [text, pattern] : std::initializer_list<std::pair<const char*, const char*>>{
           {"-", "[]-a]"}, {"]", "[]-a]"}, {"b", "[]-a]"}, {"z", "[z-a]"}, {"a", "[z-a]"}, {"y", "[z-a]"},
           {"]", "[]]"}, {"]", "[^]a]"}, {"b", "[^]a]"}, {"-", "[a-]"}, {"-", "[-a]"}, {"b", "[a-c-e]"},
           {"d", "[a-c-e]"}, {"-", "[a-c-e]"}, {"e", "[a-c-e]"}, {"x", "[x"}, {"^", "[^^]"}, {"^", "[x^]"},
           {"b", "[a-cx-z]"}, {"y", "[a-cx-z]"}, {"m", "[a-cx-z]"}}) {
    const int own = sqlite("glob", text, pattern);
    ASSERT_GE(own, 0);
    EXPECT_EQ(glob(pattern, text), own == 1) << "'" << text << "' GLOB '" << pattern << "'";
  }
}

TEST(GbkLike, AViewOrIndexMayUseLikeAndGlobWhileTheSchemaIsNotTrusted) {
  TempFolder folder;
  TSQLiteConnection c;
  c.SetProp(prClientLibrary, AnsiString(kPlainSQLite));  // a SQLite that knows trusted_schema
  c.SetProp(prDatabase, folder.file("poems.db"));
  c.SetProp(prASCIIDataBase, true);
  c.Connect();
  c.ExecSQL("PRAGMA trusted_schema = OFF");
  c.ExecSQL("create table sici(id integer primary key, nr text)");
  c.ExecSQL("insert into sici values (1, '" + g("床前明月光") + "')");
  c.ExecSQL("create view moon as select id from sici where nr like '%" + g("明月") + "%' and nr glob '*" + g("月") + "*'");
  c.ExecSQL("create table found(id integer check (id = 1))");
  EXPECT_NO_THROW(c.ExecSQL("insert into found select id from moon"));
  EXPECT_NO_THROW(c.ExecSQL("create index bright on sici(nr like 'x%')"));
}
