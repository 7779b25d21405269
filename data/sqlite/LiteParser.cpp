#include "data/sqlite/LiteParser.h"

#include <algorithm>

namespace {

const TParserDialect& liteDialect() {
  static const TParserDialect dialect = [] {
    TParserDialect d = SQLDialect();
    d.identQuote[static_cast<unsigned char>('`')] = true;
    return d;
  }();
  return dialect;
}

}  // namespace

TLiteParser::TLiteParser(const AnsiString& text) : TSQLParser(text, liteDialect()) {}

std::vector<AnsiString> TLiteParser::ParamNames() {
  std::vector<AnsiString> names;
  ToBegin();
  OmitBlank = true;
  OmitComment = true;
  QuotedString = true;
  Uppered = false;
  UnknownAsSymbol = true;
  for (int code = GetNext(); code != lcEnd; code = GetNext()) {
    if (code != lxColon) continue;
    AnsiString name;
    code = GetNext(name);
    if (code != lcIdent && code != lcNumber && !IsKeyword(code)) {
      // "::x" names nothing, so the second ":" does not start another parameter.
      if (code == lcEnd) break;
      continue;
    }
    name = sqltext::unquoteName(name, '"');
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

std::vector<AnsiString> ParseLiteParams(const AnsiString& sql) { return ParseSQLParams(sql, NewParser<TLiteParser>); }

char TSQLiteInfo::ClosingQuote(char c) const {
  switch (c) {
    case '"':
    case '`':
      return c;
    case '[':
      return ']';
    default:
      return 0;
  }
}
