#pragma once
// The SQLite dialect of the lexer: identifiers may also be quoted with back-quotes.

#include <vector>

#include "data/sql/CRParser.h"

class TLiteParser : public TSQLParser {
 public:
  explicit TLiteParser(const AnsiString& text);

  // The parameters as the SQLite command binds them, in order of first use: a ":" followed by
  // a name (plain, or quoted with double quotes or back-quotes), a number or a keyword; blanks
  // and comments between them do not count. A name in double quotes loses them. Names compare
  // exactly, as SQLite numbers its named parameters, so ":p" and ":P" are two. "::" and "?"
  // name nothing.
  std::vector<AnsiString> ParamNames() override;
};

// ParseSQLParams with TLiteParser.
std::vector<AnsiString> ParseLiteParams(const AnsiString& sql);

// Statement information for SQLite: names may be quoted with double quotes, back-quotes or
// square brackets.
class TSQLiteInfo : public TSQLInfo {
 public:
  TSQLiteInfo() : TSQLInfo(NewParser<TLiteParser>) {}

 protected:
  char ClosingQuote(char c) const override;
};
