// libFuzzer target for the SQL lexer, the parameter and macro scans, the statement
// information and the SQLite provider's SQL formatter. Any input is taken as a statement
// text; besides crashes, hangs and bad memory access it checks what must hold for every
// text:
//  - the tokens of every parser class cover the text exactly, each one non-empty;
//  - the line count matches the text's line breaks;
//  - the strict lexer either agrees with the lenient one or refuses an unknown character;
//  - replacing no macro gives the text back;
//  - the formatter gives back any text without "{" and "--" unchanged, and refuses others
//    only with its own exceptions.

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "data/sql/CRParser.h"
#include "data/sqlite/LiteFormatter.h"
#include "data/sqlite/LiteParser.h"
#include "data/sql/Macros.h"
#include "platform/classes/Exceptions.h"

namespace {

void check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "sql_fuzzer: %s\n", what);
  std::abort();
}

int lineBreaks(const AnsiString& text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))) ++count;
  return count;
}

template <class Parser>
void checkTokens(const AnsiString& sql) {
  Parser lenient(sql);
  lenient.OmitBlank = false;
  lenient.OmitComment = false;
  lenient.UnknownAsSymbol = true;
  std::vector<int> codes;
  AnsiString joined;
  int previousEnd = 1;
  for (int code; (code = lenient.GetNext()) != lcEnd;) {
    check(lenient.LexemLength() > 0, "empty token");
    check(lenient.LexemPos() == previousEnd, "tokens leave a gap");
    previousEnd = lenient.CurrPos();
    joined += lenient.TokenText();
    codes.push_back(code);
  }
  check(joined == sql, "tokens do not rebuild the text");
  check(lenient.CurrLine() == lineBreaks(sql), "line count");
  check(lenient.GetNext() == lcEnd, "end is not sticky");

  Parser strict(sql);
  strict.OmitBlank = false;
  strict.OmitComment = false;
  try {
    for (int code : codes) check(strict.GetNext() == code, "strict and lenient lexers disagree");
    check(strict.GetNext() == lcEnd, "strict lexer reads past the lenient one");
  } catch (const Exception& e) {
    check(e.Message().starts_with("Parser: The unknown symbol '"), "strict lexer raised something else");
  }

  Parser skipping(sql);
  skipping.UnknownAsSymbol = true;
  skipping.Find("FROM");
  skipping.ToBegin();
  skipping.SkipToBalanced({lxWHERE, lxComma});
}

TUniMacros& fuzzMacros() {
  static TUniMacros macros;
  if (macros.Count() == 0) {
    macros.Add("tbl", "sici");
    macros.Add("tbl", "poet", "SQLITE");
    macros.Add("cols", "id, {fn CONCAT(tm, zz)}");
    macros.Add("when", "x", "cols");
    macros.Add("loop", "{loop}");
  }
  return macros;
}

// Seeds written into an empty corpus folder: the reader's statements and one of each kind
// of escape.
std::vector<AnsiString> seeds() {
  const AnsiString works = "select id,tm as 作品,zz as 作者 from sici"_gbk;
  return {
      works,
      "select id,tm as 作品 from sici"_gbk,
      "select zz as 作者 from poet where nd like '%唐%'"_gbk,
      "select id,tm as 作品 from sici where zz ='楚嵩'"_gbk,
      "select zz as 五代作者 from poet where nd like '%五%'"_gbk,
      "select id,tm as 李白作品 from sici where zz ='李白'"_gbk,
      works + " where tm like '静夜%'"_gbk,
      works + " where tm like '%明月%'"_gbk,
      works + " where zz like '%東坡%'"_gbk,
      "SELECT id FROM sici where nr like '%床前明月光%'"_gbk,
      "delete from tmpid;",
      "replace INTO tmpid(id) VALUES (42);",
      "select sici.id as id,sici.tm as 作品,sici.zz as 作者 from sici ,tmpid where tmpid.id=sici.id"_gbk,
      works + " where 1=1  and tc like '五律%' and lb ='送别' and nd like '%晋%' and zz like '%憑%' and tm like '%倉%'"_gbk,
      "SELECT * FROM sici where id='12' limit 1",
      "select * from poet where zz='李白'"_gbk,
      "select {fn CONCAT(tm, ' ')}, {fn SUBSTRING(nr, 1, 2)}, {fn DATEADD(day, 1, {date '2024-01-31'})} from {tbl}",
      "{if SQLITE}select {cols}{else}select 1{endif} -- note\r\n{when x} {time '12:00:00'} {timestamp 'x'}",
      "select a.b.c \"q\" from (t1 left join `嘸` s on s.x = (1)), (select 1) q where p = :p1 and :\"x y\" &m"_gbk,
  };
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i) {
    const std::filesystem::path folder = (*argv)[i];
    std::error_code error;
    if ((*argv)[i][0] == '-' || !std::filesystem::is_directory(folder, error) ||
        !std::filesystem::is_empty(folder, error))
      continue;
    int n = 0;
    for (const AnsiString& seed : seeds()) std::ofstream(folder / ("seed" + std::to_string(n++)), std::ios::binary) << seed;
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const AnsiString sql(reinterpret_cast<const char*>(data), size);

  checkTokens<TParser>(sql);
  checkTokens<TSQLParser>(sql);
  checkTokens<TLiteParser>(sql);
  checkTokens<TBoolParser>(sql);

  ParseSQLParams(sql);
  ParseLiteParams(sql);
  ParseSQLMacros(sql);
  check(ReplaceSQLMacros(sql, [](const AnsiString&, AnsiString&) { return false; }) == sql, "macro replacement");
  ReplaceSQLMacros(sql, [](const AnsiString& name, AnsiString& value) {
    value = name + name;
    return true;
  });

  std::vector<TSQLSelectItem> columns;
  std::vector<TSQLTableItem> tables;
  TSQLiteInfo().ParseSelect(sql, columns, tables);
  for (const auto& column : columns) check(column.Expr.size() <= sql.size(), "expression longer than the text");

  static TSqlFormatting formatting(fuzzMacros());
  try {
    const AnsiString result = formatting.Expand(sql, NewFormatter<TLiteFormatter>);
    if (sql.find('{') == AnsiString::npos && sql.find("--") == AnsiString::npos)
      check(result == sql, "plain text changed by the formatter");
  } catch (const Exception&) {
    check(sql.find('{') != AnsiString::npos, "plain text refused by the formatter");
  }
  return 0;
}
