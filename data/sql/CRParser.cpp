#include "data/sql/CRParser.h"

#include <algorithm>
#include <cstdio>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

// ---- sqltext --------------------------------------------------------------------------------

namespace sqltext {

namespace {
template <class Change>
AnsiString mapAscii(std::string_view s, Change change) {
  AnsiString result(s);
  for (std::size_t i = 0; i < result.size(); ++i) {
    const auto c = static_cast<unsigned char>(result[i]);
    if (text::isLeadByte(c) && i + 1 < result.size() && classes::isTrailByte(static_cast<unsigned char>(result[i + 1])))
      ++i;
    else
      result[i] = change(result[i]);
  }
  return result;
}
}  // namespace

AnsiString upperCase(std::string_view s) {
  return mapAscii(s, [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
}

AnsiString lowerCase(std::string_view s) {
  return mapAscii(s, [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
}

AnsiString trim(std::string_view s) {
  std::size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return AnsiString(s.substr(first, last - first));
}

AnsiString unquoteName(std::string_view name, char quote) {
  if (name.empty() || name.front() != quote) return AnsiString(name);
  name.remove_prefix(1);
  if (!name.empty() && name.back() == quote) name.remove_suffix(1);
  return AnsiString(name);
}

}  // namespace sqltext

// ---- TLexemTable -----------------------------------------------------------------------------

TLexemTable::TLexemTable(std::initializer_list<std::pair<std::string_view, int>> entries) {
  for (const auto& [lexem, code] : entries) {
    entries_.emplace_back(sqltext::upperCase(lexem), code);
    maxLength_ = std::max(maxLength_, lexem.size());
    starts_[static_cast<unsigned char>(lexem.front())] = true;
  }
  std::sort(entries_.begin(), entries_.end());
}

int TLexemTable::Find(std::string_view lexem) const {
  if (lexem.empty() || lexem.size() > maxLength_) return 0;
  const AnsiString key = sqltext::upperCase(lexem);
  const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const auto& entry, const AnsiString& k) { return entry.first < k; });
  return it != entries_.end() && it->first == key ? it->second : 0;
}

bool TLexemTable::HasCode(int code) const {
  return std::any_of(entries_.begin(), entries_.end(), [code](const auto& entry) { return entry.second == code; });
}

// ---- Dialects --------------------------------------------------------------------------------

namespace {

TParserDialect baseDialect() {
  TParserDialect d{};
  for (int c = 0; c < 256; ++c) {
    TCharClass cls = TCharClass::Other;
    if (c == 9 || c == 10 || c == 13 || c == 32)
      cls = TCharClass::Blank;
    else if ((c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 126))
      cls = TCharClass::Symbol;
    else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128)
      cls = TCharClass::Letter;
    else if (c >= '0' && c <= '9')
      cls = TCharClass::Digit;
    d.classes[c] = cls;
    d.identChar[c] = cls == TCharClass::Letter || cls == TCharClass::Digit;
  }
  d.stringQuote[static_cast<unsigned char>('\'')] = true;
  d.stringQuote[static_cast<unsigned char>('"')] = true;
  d.inlineComment = "//";
  return d;
}

const TParserDialect& parserDialect() {
  static const TLexemTable symbols{{"!", 1},  {"\"", 2}, {"#", 3},  {"$", 4},  {"%", 5},  {"&", 6},  {"'", 7},
                                   {"(", 8},  {")", 9},  {"*", 10}, {"+", 11}, {",", 12}, {"-", 13}, {".", 14},
                                   {"/", 15}, {":", 16}, {";", 17}, {"<", 18}, {"=", 19}, {">", 20}, {"?", 21},
                                   {"@", 22}, {"[", 23}, {"\\", 24}, {"]", 25}, {"^", 26}, {"_", 27}, {"`", 28}};
  static const TLexemTable keywords{{"AND", 29}, {"NOT", 30}, {"OR", 31}};
  static const TParserDialect dialect = [] {
    TParserDialect d = baseDialect();
    d.symbols = &symbols;
    d.keywords = &keywords;
    return d;
  }();
  return dialect;
}

const TParserDialect& boolDialect() {
  static const TLexemTable symbols{{"=", bxEqual},         {">", bxGreater},    {"<", bxLess},
                                   {">=", bxGreaterEqual}, {"<=", bxLessEqual}, {"<>", bxNotEqual},
                                   {"(", bxLeftParen},     {")", bxRightParen}, {"-", bxMinus},
                                   {"+", bxPlus},          {"[", bxLeftBracket}, {"]", bxRightBracket}};
  static const TLexemTable keywords{{"AND", bxAND}, {"FALSE", bxFALSE}, {"IS", bxIS},   {"LIKE", bxLIKE},
                                    {"NOT", bxNOT}, {"NULL", bxNULL},   {"OR", bxOR},   {"TRUE", bxTRUE}};
  static const TParserDialect dialect = [] {
    TParserDialect d = baseDialect();
    d.doubledApostrophes = true;
    d.symbols = &symbols;
    d.keywords = &keywords;
    return d;
  }();
  return dialect;
}

}  // namespace

namespace {

const TLexemTable& SQLSymbols() {
  static const TLexemTable symbols{{"*", lxAsterisk}, {"=", lxEqual}, {":", lxColon},    {",", lxComma},
                                   {".", lxPoint},    {"/", lxSlash}, {";", lxSemicolon}};
  return symbols;
}

const TLexemTable& SQLKeywords() {
  static const TLexemTable keywords{
      {"ALL", lxALL},           {"AND", lxAND},         {"AS", lxAS},           {"BEGIN", lxBEGIN},
      {"BY", lxBY},             {"COMMIT", lxCOMMIT},   {"DELETE", lxDELETE},   {"DISTINCT", lxDISTINCT},
      {"END", lxEND},           {"EXECUTE", lxEXECUTE}, {"FETCH", lxFETCH},     {"FOR", lxFOR},
      {"FROM", lxFROM},         {"FULL", lxFULL},       {"GROUP", lxGROUP},     {"HAVING", lxHAVING},
      {"INNER", lxINNER},       {"INSERT", lxINSERT},   {"INTO", lxINTO},       {"IS", lxIS},
      {"JOIN", lxJOIN},         {"LEFT", lxLEFT},       {"LIMIT", lxLIMIT},     {"LOCK", lxLOCK},
      {"MINUS", lxMINUS},       {"NOT", lxNOT},         {"OFFSET", lxOFFSET},   {"ON", lxON},
      {"OR", lxOR},             {"ORDER", lxORDER},     {"OUTER", lxOUTER},     {"RELEASE", lxRELEASE},
      {"RETURNING", lxRETURNING}, {"RIGHT", lxRIGHT},   {"ROLLBACK", lxROLLBACK}, {"SAVEPOINT", lxSAVEPOINT},
      {"SELECT", lxSELECT},     {"SET", lxSET},         {"TO", lxTO},           {"TRANSACTION", lxTRANSACTION},
      {"UNION", lxUNION},       {"UPDATE", lxUPDATE},   {"WHERE", lxWHERE},     {"WITH", lxWITH}};
  return keywords;
}

}  // namespace

TParserDialect SQLDialect() {
  TParserDialect d = baseDialect();
  // At the start of a token they stay symbols; inside an identifier they belong to it.
  d.identChar[static_cast<unsigned char>('#')] = true;
  d.identChar[static_cast<unsigned char>('$')] = true;
  d.stringQuote[static_cast<unsigned char>('"')] = false;
  d.identQuote[static_cast<unsigned char>('"')] = true;
  d.inlineComment = "--";
  d.symbols = &SQLSymbols();
  d.keywords = &SQLKeywords();
  return d;
}

namespace {

const TParserDialect& sqlDialect() {
  static const TParserDialect dialect = SQLDialect();
  return dialect;
}

}  // namespace

// ---- TParser ---------------------------------------------------------------------------------

TParser::TParser(const AnsiString& text) : TParser(text, parserDialect()) {}

TParser::TParser(const AnsiString& text, const TParserDialect& dialect) : dialect_(dialect), text_(text) {}

void TParser::SetText(const AnsiString& text) {
  text_ = text;
  ToBegin();
}

void TParser::ToBegin() {
  pos_ = prevPos_ = prevPrevPos_ = tokenStart_ = 0;
  line_ = prevLine_ = 0;
  lineStart_ = prevLineStart_ = 0;
  lexem_.clear();
}

int TParser::GetNext(AnsiString& lexem) {
  prevPrevPos_ = prevPos_;
  prevPos_ = pos_;
  prevLine_ = line_;
  prevLineStart_ = lineStart_;
  const int code = scan(lexem);
  countLines(prevPos_, pos_);
  return code;
}

int TParser::scan(AnsiString& lexem) {
  const TParserDialect& d = dialect_;
  const std::size_t n = text_.size();
  const auto at = [this](std::size_t i) { return static_cast<unsigned char>(text_[i]); };
  const auto token = [&](int code) {
    lexem.assign(text_, tokenStart_, pos_ - tokenStart_);
    return code;
  };

  for (;;) {
    tokenStart_ = pos_;
    while (pos_ < n && d.classes[at(pos_)] == TCharClass::Blank) ++pos_;
    if (pos_ > tokenStart_) {
      if (!OmitBlank) return token(lcBlank);
      tokenStart_ = pos_;
    }
    if (pos_ >= n) {
      lexem.clear();
      return lcEnd;
    }
    const std::size_t end = commentEnd(pos_);
    if (end == pos_) break;
    pos_ = end;
    if (!OmitComment) return token(lcComment);
  }

  const unsigned char c = at(pos_);
  switch (d.classes[c]) {
    case TCharClass::Symbol: {
      if (d.stringQuote[c]) {
        const bool doubled = d.doubledApostrophes && c == '\'';
        pos_ = quotedEnd(pos_, doubled);
        if (QuotedString) return token(lcString);
        const bool closed = pos_ - tokenStart_ >= 2 && at(pos_ - 1) == c;
        const std::string_view inner(text_.data() + tokenStart_ + 1, pos_ - tokenStart_ - (closed ? 2 : 1));
        lexem.clear();
        for (std::size_t i = 0; i < inner.size(); ++i) {
          lexem += inner[i];
          if (doubled && inner[i] == '\'' && i + 1 < inner.size() && inner[i + 1] == '\'') ++i;
        }
        return lcString;
      }
      if (d.identQuote[c]) {
        pos_ = quotedEnd(pos_, false);
        return token(lcIdent);
      }
      if (d.symbols->StartsWith(c)) {
        std::size_t run = 1;
        while (run < d.symbols->MaxLength() && pos_ + run < n && d.classes[at(pos_ + run)] == TCharClass::Symbol) ++run;
        for (std::size_t length = run; length > 0; --length) {
          if (const int code = d.symbols->Find(std::string_view(text_).substr(pos_, length))) {
            pos_ += length;
            return token(code);
          }
        }
      }
      ++pos_;
      return token(lcSymbol);
    }
    case TCharClass::Letter: {
      pos_ = identEnd(pos_);
      token(lcIdent);
      if (KeywordLookup) {
        if (const int code = d.keywords->Find(lexem)) {
          if (Uppered) lexem = sqltext::upperCase(lexem);
          return code;
        }
      }
      return lcIdent;
    }
    case TCharClass::Digit: {
      const auto digits = [&] {
        while (pos_ < n && d.classes[at(pos_)] == TCharClass::Digit) ++pos_;
      };
      digits();
      if (pos_ + 1 < n && text_[pos_] == DecSeparator && d.classes[at(pos_ + 1)] == TCharClass::Digit) {
        ++pos_;
        digits();
      }
      return token(lcNumber);
    }
    case TCharClass::Blank:
    case TCharClass::Other:
      break;
  }
  if (!UnknownAsSymbol) unknownSymbol(c);
  ++pos_;
  return token(lcSymbol);
}

std::size_t TParser::commentEnd(std::size_t at) const {
  const std::string_view rest = std::string_view(text_).substr(at);
  if (!dialect_.inlineComment.empty() && rest.starts_with(dialect_.inlineComment)) {
    const std::size_t lineEnd = rest.find_first_of("\r\n");
    return lineEnd == std::string_view::npos ? text_.size() : at + lineEnd;
  }
  if (rest.starts_with("/*")) {
    const std::size_t close = rest.find("*/", 2);
    return close == std::string_view::npos ? text_.size() : at + close + 2;
  }
  return at;
}

std::size_t TParser::quotedEnd(std::size_t at, bool doubledQuotes) const {
  const char quote = text_[at];
  const std::size_t n = text_.size();
  std::size_t i = at + 1;
  while (i < n) {
    const auto c = static_cast<unsigned char>(text_[i]);
    if (text::isLeadByte(c) && i + 1 < n && classes::isTrailByte(static_cast<unsigned char>(text_[i + 1]))) {
      i += 2;
    } else if (text_[i] != quote) {
      ++i;
    } else if (doubledQuotes && i + 1 < n && text_[i + 1] == quote) {
      i += 2;
    } else {
      return i + 1;
    }
  }
  return n;
}

std::size_t TParser::identEnd(std::size_t at) const {
  const std::size_t n = text_.size();
  std::size_t i = at;
  while (i < n) {
    const auto c = static_cast<unsigned char>(text_[i]);
    if (text::isLeadByte(c) && i + 1 < n && classes::isTrailByte(static_cast<unsigned char>(text_[i + 1])))
      i += 2;
    else if (dialect_.identChar[c])
      ++i;
    else
      break;
  }
  return i;
}

void TParser::countLines(std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (text_[i] == '\r') {
      ++line_;
      lineStart_ = i + 1;
    } else if (text_[i] == '\n') {
      // The LF of a CR LF pair ends the same line break.
      if (i == 0 || text_[i - 1] != '\r') ++line_;
      lineStart_ = i + 1;
    }
  }
}

void TParser::unknownSymbol(unsigned char c) const {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
  throw Exception("Parser: The unknown symbol '" + AnsiString(1, static_cast<char>(c)) + "'  $" + hex);
}

bool TParser::Find(const AnsiString& lexem) {
  for (;;) {
    const int code = GetNext();
    if (code == lcEnd) return false;
    if (classes::sameText(lexem_, lexem)) return true;
  }
}

int TParser::SkipTo(int code) {
  for (;;) {
    const int found = GetNext();
    if (found == lcEnd || found == code) return found;
  }
}

int TParser::SkipToBalanced(std::initializer_list<int> codes) {
  int depth = 0;
  for (;;) {
    const int found = GetNext();
    if (found == lcEnd) return lcEnd;
    if (depth == 0 && std::find(codes.begin(), codes.end(), found) != codes.end()) return found;
    if (found != lcString && found != lcIdent && found != lcComment) {
      const std::string_view t = TokenText();
      if (t == "(")
        ++depth;
      else if (t == ")" && depth > 0)
        --depth;
    }
  }
}

// ---- TSQLParser, TBoolParser -----------------------------------------------------------------

TSQLParser::TSQLParser(const AnsiString& text) : TParser(text, sqlDialect()) {}

TBoolParser::TBoolParser(const AnsiString& text) : TParser(text, boolDialect()) {}

// ---- Parameters and macros -------------------------------------------------------------------

namespace {

void addOnce(std::vector<AnsiString>& names, const AnsiString& name) {
  if (std::none_of(names.begin(), names.end(), [&](const AnsiString& n) { return classes::sameText(n, name); }))
    names.push_back(name);
}

// Calls `macro(name, raw)` for every "&name" and `other(raw)` for everything else, so that
// the two together see the whole text once, in order.
template <class Macro, class Other>
void walkMacros(const AnsiString& sql, Macro&& macro, Other&& other) {
  TSQLParser parser(sql);
  parser.OmitBlank = false;
  parser.OmitComment = false;
  parser.Uppered = false;
  parser.UnknownAsSymbol = true;
  int code = parser.GetNext();
  while (code != lcEnd) {
    if (code != lcSymbol || parser.TokenText() != "&") {
      other(parser.TokenText());
      code = parser.GetNext();
      continue;
    }
    const int after = parser.CurrPos();
    code = parser.GetNext();
    if ((code == lcIdent || parser.IsKeyword(code)) && parser.LexemPos() == after) {
      macro(parser.Lexem());
      code = parser.GetNext();
    } else {
      // What follows may itself be an "&", so it is looked at again.
      other("&");
    }
  }
}

}  // namespace

std::vector<AnsiString> TSQLParser::ParamNames() {
  std::vector<AnsiString> names;
  ToBegin();
  OmitBlank = false;
  OmitComment = true;
  QuotedString = true;
  Uppered = false;
  UnknownAsSymbol = true;
  while (Find(":")) {
    AnsiString name;
    int code = GetNext(name);
    if (code == lcSymbol && name == "@") {
      code = GetNext(name);
      name.insert(0, "@");
    }
    if (code != lcIdent && code != lcNumber && !IsKeyword(code)) continue;
    name = sqltext::unquoteName(name, '"');
    addOnce(names, name);
  }
  return names;
}

std::vector<AnsiString> ParseSQLParams(const AnsiString& sql, TSQLParserClass parserClass) {
  // A parameter of every dialect starts with ':'. Most statements have none, and a statement
  // is scanned for them on each change of its text and again by the command that runs it.
  if (sql.find(':') == AnsiString::npos) return {};
  return parserClass(sql)->ParamNames();
}

std::vector<AnsiString> ParseSQLMacros(const AnsiString& sql) {
  std::vector<AnsiString> names;
  if (sql.find('&') == AnsiString::npos) return names;
  walkMacros(sql, [&](const AnsiString& name) { addOnce(names, name); }, [](std::string_view) {});
  return names;
}

AnsiString ReplaceSQLMacros(const AnsiString& sql,
                            const std::function<bool(const AnsiString& name, AnsiString& value)>& valueOf) {
  if (sql.find('&') == AnsiString::npos) return sql;
  AnsiString result;
  result.reserve(sql.size());
  walkMacros(
      sql,
      [&](const AnsiString& name) {
        AnsiString value;
        if (valueOf(name, value))
          result += value;
        else
          result += "&" + name;
      },
      [&](std::string_view raw) { result += raw; });
  return result;
}

// ---- TSQLInfo --------------------------------------------------------------------------------

namespace {

struct Token {
  int code;
  AnsiString text;
  std::size_t start, end;  // 0-based, end exclusive
};

// Reads the first SELECT of a token list. Every step moves forward or stops, so malformed
// text ends the lists instead of looping.
class SelectReader {
 public:
  SelectReader(const AnsiString& sql, const std::vector<Token>& tokens, const TSQLInfo& info)
      : sql_(sql), t_(tokens), info_(info) {}

  void read(std::vector<TSQLSelectItem>& columns, std::vector<TSQLTableItem>& tables) {
    while (i_ < t_.size() && t_[i_].code != lxSELECT) ++i_;
    if (i_ == t_.size()) return;
    ++i_;
    if (is(lxALL) || is(lxDISTINCT)) ++i_;
    while (i_ < t_.size() && !is(lxFROM)) {
      const std::size_t before = i_;
      if (!readSimpleItem(columns)) readExpressionItem(columns);
      if (symbol(",")) ++i_;
      else if (i_ == before || !is(lxFROM)) return;
    }
    if (!is(lxFROM)) return;
    ++i_;
    readTables(tables);
  }

 private:
  bool is(int code, std::size_t at) const { return at < t_.size() && t_[at].code == code; }
  bool is(int code) const { return is(code, i_); }
  bool symbol(std::string_view s, std::size_t at) const {
    return at < t_.size() && t_[at].code != lcString && t_[at].code != lcIdent && t_[at].text == s;
  }
  bool symbol(std::string_view s) const { return symbol(s, i_); }
  bool named(std::string_view word, std::size_t at) const {
    return at < t_.size() && t_[at].code == lcIdent && classes::sameText(t_[at].text, word);
  }
  bool keyword(std::size_t at) const { return at < t_.size() && t_[at].code >= lxALL; }

  bool joinWord(std::size_t at) const {
    return is(lxFULL, at) || is(lxINNER, at) || is(lxJOIN, at) || is(lxLEFT, at) || is(lxOUTER, at) ||
           is(lxRIGHT, at) || named("NATURAL", at) || named("CROSS", at);
  }
  // Words that end a FROM list without being keywords of the table.
  bool clauseWord(std::size_t at) const {
    return is(lxWHERE, at) || is(lxGROUP, at) || is(lxHAVING, at) || is(lxUNION, at) || is(lxMINUS, at) ||
           is(lxORDER, at) || is(lxLIMIT, at) || named("EXCEPT", at) || named("INTERSECT", at) ||
           named("WINDOW", at);
  }
  // An identifier that can stand as an alias without AS.
  bool aliasWord(std::size_t at) const {
    return at < t_.size() && t_[at].code == lcIdent && !joinWord(at) && !clauseWord(at) && !named("USING", at) &&
           !named("NULL", at);
  }
  bool nameWord(std::size_t at) const {
    return at < t_.size() && (t_[at].code == lcIdent || keyword(at) || t_[at].code == lxAsterisk) &&
           !is(lxFROM, at) && !named("NULL", at);
  }

  bool readSimpleItem(std::vector<TSQLSelectItem>& columns) {
    std::size_t j = i_;
    if (!nameWord(j)) return false;
    std::vector<std::size_t> parts{j++};
    while (parts.size() < 3 && symbol(".", j) && nameWord(j + 1)) {
      parts.push_back(j + 1);
      j += 2;
    }
    std::size_t alias = t_.size();
    if (is(lxAS, j)) {
      if (!(is(lcIdent, j + 1) || keyword(j + 1)) || is(lxFROM, j + 1)) return false;
      alias = j + 1;
      j += 2;
    } else if (aliasWord(j)) {
      alias = j++;
    }
    if (j < t_.size() && !symbol(",", j) && !is(lxFROM, j)) return false;
    TSQLSelectItem item;
    item.Name = info_.NormalizeName(t_[parts.back()].text);
    for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
      if (k) item.Table += '.';
      item.Table += t_[parts[k]].text;
    }
    item.Table = info_.NormalizeName(item.Table);
    if (alias < t_.size()) item.Alias = info_.NormalizeName(t_[alias].text);
    columns.push_back(std::move(item));
    i_ = j;
    return true;
  }

  void readExpressionItem(std::vector<TSQLSelectItem>& columns) {
    std::size_t j = i_;
    int depth = 0;
    for (; j < t_.size(); ++j) {
      if (depth == 0 && (symbol(",", j) || is(lxFROM, j))) break;
      if (symbol("(", j)) {
        ++depth;
      } else if (symbol(")", j)) {
        if (depth == 0) break;
        --depth;
      }
    }
    std::size_t end = j;
    TSQLSelectItem item;
    if (end - i_ >= 2 && is(lcIdent, end - 1)) {
      const std::size_t before = end - 2;
      if (is(lxAS, before)) {
        item.Alias = info_.NormalizeName(t_[end - 1].text);
        end -= 2;
      } else if (aliasWord(end - 1) && (symbol(")", before) || is(lcString, before) || is(lcNumber, before) ||
                                        is(lcIdent, before) || is(lxEND, before))) {
        item.Alias = info_.NormalizeName(t_[end - 1].text);
        end -= 1;
      }
    }
    if (end > i_) item.Expr = sql_.substr(t_[i_].start, t_[end - 1].end - t_[i_].start);
    if (j > i_) columns.push_back(std::move(item));
    i_ = j;
  }

  void skipParenthesised() {
    int depth = 0;
    for (; i_ < t_.size(); ++i_) {
      if (symbol("(")) {
        ++depth;
      } else if (symbol(")") && --depth == 0) {
        ++i_;
        return;
      }
    }
  }

  void readTables(std::vector<TSQLTableItem>& tables) {
    int open = 0;  // parentheses of a table list
    for (;;) {
      while (joinWord(i_)) ++i_;
      if (symbol("(")) {
        if (is(lxSELECT, i_ + 1) || is(lxWITH, i_ + 1)) {
          skipParenthesised();
          if (is(lxAS)) ++i_;
          if (aliasWord(i_)) ++i_;
        } else {
          ++open;
          ++i_;
          continue;
        }
      } else if (is(lcIdent)) {
        TSQLTableItem table;
        table.Name = t_[i_++].text;
        while (symbol(".") && is(lcIdent, i_ + 1)) {
          table.Name += "." + t_[i_ + 1].text;
          i_ += 2;
        }
        table.Name = info_.NormalizeName(table.Name);
        if (is(lxAS) && is(lcIdent, i_ + 1)) {
          table.Alias = info_.NormalizeName(t_[i_ + 1].text);
          i_ += 2;
        } else if (aliasWord(i_)) {
          table.Alias = info_.NormalizeName(t_[i_++].text);
        }
        tables.push_back(std::move(table));
      } else {
        return;
      }
      if (is(lxON) || named("USING", i_)) skipJoinCondition();
      while (open > 0 && symbol(")")) {
        --open;
        ++i_;
      }
      if (symbol(",")) {
        ++i_;
      } else if (!joinWord(i_)) {
        return;
      }
    }
  }

  void skipJoinCondition() {
    ++i_;
    int depth = 0;
    for (; i_ < t_.size(); ++i_) {
      if (depth == 0 && (symbol(",") || joinWord(i_) || clauseWord(i_) || symbol(")"))) return;
      if (symbol("("))
        ++depth;
      else if (symbol(")"))
        --depth;
    }
  }

  const AnsiString& sql_;
  const std::vector<Token>& t_;
  const TSQLInfo& info_;
  std::size_t i_ = 0;
};

}  // namespace

void TSQLInfo::ParseSelect(const AnsiString& sql, std::vector<TSQLSelectItem>& columns,
                           std::vector<TSQLTableItem>& tables) const {
  columns.clear();
  tables.clear();
  const std::unique_ptr<TSQLParser> parser = parserClass_(sql);
  parser->QuotedString = true;
  parser->UnknownAsSymbol = true;
  std::vector<Token> tokens;
  AnsiString lexem;
  for (int code; (code = parser->GetNext(lexem)) != lcEnd;) {
    const auto start = static_cast<std::size_t>(parser->LexemPos() - 1);
    tokens.push_back({code, lexem, start, start + static_cast<std::size_t>(parser->LexemLength())});
  }
  SelectReader(sql, tokens, *this).read(columns, tables);
}

AnsiString TSQLInfo::NormalizeName(const AnsiString& name) const {
  AnsiString result;
  std::size_t i = 0;
  const std::size_t n = name.size();
  while (i < n) {
    // One dotted part; a quoted part may hold points of its own.
    std::size_t end = i;
    const char close = ClosingQuote(name[i]);
    if (close) {
      end = i + 1;
      while (end < n && name[end] != close) {
        const bool pair = text::isLeadByte(static_cast<unsigned char>(name[end])) && end + 1 < n &&
                          classes::isTrailByte(static_cast<unsigned char>(name[end + 1]));
        end += pair ? 2 : 1;
      }
      result.append(name, i + 1, std::min(end, n) - i - 1);
      end = std::min(end + 1, n);
    } else {
      while (end < n && name[end] != '.') {
        const bool pair = text::isLeadByte(static_cast<unsigned char>(name[end])) && end + 1 < n &&
                          classes::isTrailByte(static_cast<unsigned char>(name[end + 1]));
        end += pair ? 2 : 1;
      }
      result.append(name, i, std::min(end, n) - i);
    }
    i = end;
    if (i < n && name[i] == '.') {
      result += '.';
      ++i;
    } else if (i < n) {
      // Text after a closing quote that is no point belongs to the same part.
      std::size_t next = name.find('.', i);
      if (next == AnsiString::npos) next = n;
      result.append(name, i, next - i);
      i = next;
    }
  }
  return result;
}
