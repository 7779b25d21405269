#pragma once
// The lexer of the data layer: splits SQL texts, local filter texts and sort lists into
// tokens, finds the parameters and macros of a statement and reads its select list and tables.
//
// Texts are code page 936 bytes. Every byte from 128 up counts as a letter, so Chinese text
// outside quotes lexes as identifiers; a lead byte and the trail byte after it are always one
// character, so a trail byte that looks like "`", "[", "{" or "@" never ends or starts anything.
// Positions are 1-based, as the data layer counts them; lines and columns count from 0.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text/AnsiText.h"

// Token codes of every parser. Symbols and keywords of a parser's tables come back as their
// positive table codes.
inline constexpr int lcEnd = 0;
inline constexpr int lcSymbol = -102;   // a symbol character missing from the table, alone
inline constexpr int lcIdent = -103;    // also a quoted identifier, quotes included
inline constexpr int lcNumber = -105;
inline constexpr int lcString = -106;
inline constexpr int lcBlank = -107;    // only when OmitBlank is off
inline constexpr int lcComment = -108;  // only when OmitComment is off

// Symbols and keywords of TSQLParser and its dialects.
enum TSQLLexem : int {
  lxAsterisk = 1, lxEqual, lxColon, lxComma, lxPoint, lxSlash, lxSemicolon,
  lxALL = 100, lxAND, lxAS, lxBEGIN, lxBY, lxCOMMIT, lxDELETE, lxDISTINCT, lxEND, lxEXECUTE, lxFETCH, lxFOR,
  lxFROM, lxFULL, lxGROUP, lxHAVING, lxINNER, lxINSERT,
  lxINTO = 119, lxIS, lxJOIN, lxLEFT, lxLIMIT, lxLOCK, lxMINUS, lxNOT, lxOFFSET, lxON,
  lxOR = 130, lxORDER, lxOUTER, lxRELEASE, lxRETURNING, lxRIGHT, lxROLLBACK, lxSAVEPOINT, lxSELECT, lxSET, lxTO,
  lxTRANSACTION, lxUNION, lxUPDATE, lxWHERE, lxWITH,
};

// Symbols and keywords of TBoolParser (local filters and sort lists).
enum TBoolLexem : int {
  bxEqual = 1, bxGreater, bxLess, bxGreaterEqual, bxLessEqual, bxNotEqual, bxLeftParen, bxRightParen, bxMinus, bxPlus,
  bxLeftBracket, bxRightBracket,
  bxAND, bxFALSE, bxIS, bxLIKE, bxNOT, bxNULL, bxOR, bxTRUE,
};

// A sorted list of lexemes (upper case) with their codes, searched by bisection.
class TLexemTable {
 public:
  TLexemTable(std::initializer_list<std::pair<std::string_view, int>> entries);
  // The code of `lexem` (compared after ASCII upper-casing), or 0.
  int Find(std::string_view lexem) const;
  bool HasCode(int code) const;
  std::size_t MaxLength() const { return maxLength_; }
  // The characters a lexeme of the table starts with.
  bool StartsWith(unsigned char c) const { return starts_[c]; }

 private:
  std::vector<std::pair<AnsiString, int>> entries_;
  std::size_t maxLength_ = 0;
  bool starts_[256] = {};
};

enum class TCharClass : unsigned char { Other, Blank, Symbol, Letter, Digit };

// What tells the parsers apart: character classes, quoting, comments and tables. One per
// parser class, built on first use and shared by all its parsers.
struct TParserDialect {
  TCharClass classes[256];
  bool identChar[256];    // continues an identifier
  bool stringQuote[256];
  bool identQuote[256];
  std::string_view inlineComment;
  bool doubledApostrophes;  // '' inside a string is one apostrophe
  const TLexemTable* symbols;
  const TLexemTable* keywords;
};

class TParser {
 public:
  explicit TParser(const AnsiString& text);
  virtual ~TParser() = default;
  TParser(const TParser&) = delete;
  TParser& operator=(const TParser&) = delete;

  // Switches; each takes effect with the next token.
  bool OmitBlank = true;
  bool OmitComment = true;
  bool QuotedString = false;  // a string's lexeme keeps its quotes
  bool Uppered = true;        // a keyword's lexeme comes back upper-cased
  bool KeywordLookup = true;
  // A character outside every class comes back as lcSymbol instead of raising; the scans and
  // the SQL formatter copy what they cannot read.
  bool UnknownAsSymbol = false;
  // "." whatever the system locale says: SQL numbers are written with a point, and a comma
  // here would join "1,2" of a select list into one number.
  char DecSeparator = '.';

  void SetText(const AnsiString& text);
  const AnsiString& Text() const { return text_; }
  void ToBegin();

  // The next token's code; `lexem` gets its text (see the switches). Raises Exception
  // "Parser: The unknown symbol '<c>'  $<hex>" for a control character outside strings and
  // comments unless UnknownAsSymbol is set.
  int GetNext(AnsiString& lexem);
  int GetNext() { return GetNext(lexem_); }
  const AnsiString& Lexem() const { return lexem_; }

  // Reads tokens until one whose text equals `lexem` (ASCII case ignored); the position is then
  // just after it. False at the end of the text.
  bool Find(const AnsiString& lexem);
  // Reads tokens until one with `code`; returns it, or lcEnd.
  int SkipTo(int code);
  // The same, counting "(" and ")": stops only outside parentheses opened on the way.
  int SkipToBalanced(int code) { return SkipToBalanced({code}); }
  int SkipToBalanced(std::initializer_list<int> codes);

  bool IsKeyword(int code) const { return code > 0 && dialect_.keywords->HasCode(code); }

  int CurrPos() const { return static_cast<int>(pos_) + 1; }
  // Where the last GetNext began, and the one before.
  int PrevPos() const { return static_cast<int>(prevPos_) + 1; }
  int PrevPrevPos() const { return static_cast<int>(prevPrevPos_) + 1; }
  // The extent of the last token in the text, quotes included.
  int LexemPos() const { return static_cast<int>(tokenStart_) + 1; }
  int LexemLength() const { return static_cast<int>(pos_ - tokenStart_); }
  std::string_view TokenText() const { return std::string_view(text_).substr(tokenStart_, pos_ - tokenStart_); }

  int CurrLine() const { return line_; }
  int CurrCol() const { return static_cast<int>(pos_ - lineStart_); }
  int PrevLine() const { return prevLine_; }
  int PrevCol() const { return static_cast<int>(prevPos_ - prevLineStart_); }

 protected:
  TParser(const AnsiString& text, const TParserDialect& dialect);

 private:
  int scan(AnsiString& lexem);
  std::size_t commentEnd(std::size_t at) const;
  std::size_t quotedEnd(std::size_t at, bool doubledQuotes) const;
  std::size_t identEnd(std::size_t at) const;
  void countLines(std::size_t from, std::size_t to);
  [[noreturn]] void unknownSymbol(unsigned char c) const;

  const TParserDialect& dialect_;
  AnsiString text_;
  AnsiString lexem_;
  std::size_t pos_ = 0, prevPos_ = 0, prevPrevPos_ = 0, tokenStart_ = 0;
  int line_ = 0, prevLine_ = 0;
  std::size_t lineStart_ = 0, prevLineStart_ = 0;
};

// SQL texts: "--" comments, apostrophe strings, double-quoted identifiers, "#" and "$" inside
// identifiers, and the SQL keyword table.
class TSQLParser : public TParser {
 public:
  explicit TSQLParser(const AnsiString& text);

  // The parameter names of the text as a command of this dialect binds them, in order of first
  // use, each once. Reads the text from its beginning with the switches it needs; the parser
  // is left at the end. The generic rule is ParseSQLParams's.
  virtual std::vector<AnsiString> ParamNames();

 protected:
  TSQLParser(const AnsiString& text, const TParserDialect& dialect) : TParser(text, dialect) {}
};

// Local filter texts and sort lists: comparison symbols, and '' inside a string.
class TBoolParser : public TParser {
 public:
  explicit TBoolParser(const AnsiString& text);
};

// The dialect TSQLParser's subclasses start from.
TParserDialect SQLDialect();

// A parser class: what a provider names as its SQL parser.
using TSQLParserClass = std::unique_ptr<TSQLParser> (*)(const AnsiString& text);

template <class Parser>
std::unique_ptr<TSQLParser> NewParser(const AnsiString& text) {
  return std::make_unique<Parser>(text);
}

// The parameter names of `sql` as a parser of `parserClass` finds them (its ParamNames). The
// generic rule, TSQLParser's: in order of first use, each once (ASCII case ignored), a ":"
// followed directly by a name, a number or a keyword, or by "@" and one of those. A name in
// double quotes loses them. Strings and comments hold none; "::" and ":=" name none.
std::vector<AnsiString> ParseSQLParams(const AnsiString& sql, TSQLParserClass parserClass = NewParser<TSQLParser>);

// The macro names of `sql` as written, each once (ASCII case ignored): every "&" followed
// directly by an identifier or a keyword. Empty for a text without "&".
std::vector<AnsiString> ParseSQLMacros(const AnsiString& sql);

// `sql` with each "&name" whose value `valueOf` gives replaced by that value; everything
// else, strings and comments included, stays as it is.
AnsiString ReplaceSQLMacros(const AnsiString& sql,
                            const std::function<bool(const AnsiString& name, AnsiString& value)>& valueOf);

// Name handling shared by the lexer's users. Only ASCII letters change case, and a lead byte
// with its trail byte is left alone, since the trail byte may look like an ASCII letter.
namespace sqltext {
AnsiString upperCase(std::string_view s);
AnsiString lowerCase(std::string_view s);
// Without leading and trailing characters of code 32 and below.
AnsiString trim(std::string_view s);
// `name` without the `quote` in front and the one at its end, when it starts with one.
AnsiString unquoteName(std::string_view name, char quote);
}  // namespace sqltext

// ---- Statement information -------------------------------------------------------------------

// One item of a select list: "t.col AS alias" gives Name col, Table t, Alias alias; anything
// that is not a plain (qualified) name gives its text as Expr and an empty Name.
struct TSQLSelectItem {
  AnsiString Name;
  AnsiString Table;  // the qualifier, e.g. "main.sici" of "main.sici.id"
  AnsiString Alias;
  AnsiString Expr;
  bool operator==(const TSQLSelectItem&) const = default;
};

// One table of a FROM list.
struct TSQLTableItem {
  AnsiString Name;  // qualified names keep their points: "main.sici"
  AnsiString Alias;
  bool operator==(const TSQLTableItem&) const = default;
};

class TSQLInfo {
 public:
  explicit TSQLInfo(TSQLParserClass parserClass = NewParser<TSQLParser>) : parserClass_(parserClass) {}
  virtual ~TSQLInfo() = default;

  // The select list and the tables of the first SELECT of `sql`. Names come without their
  // quotes (NormalizeName). Never fails: what cannot be read ends the lists.
  void ParseSelect(const AnsiString& sql, std::vector<TSQLSelectItem>& columns,
                   std::vector<TSQLTableItem>& tables) const;

  // A name without the quotes around it (each of its dotted parts).
  virtual AnsiString NormalizeName(const AnsiString& name) const;

 protected:
  // The quote that closes a name opened with `c`, or 0 when `c` opens none.
  virtual char ClosingQuote(char c) const { return c == '"' ? '"' : 0; }

 private:
  TSQLParserClass parserClass_;
};
