#pragma once
// Brace escapes and macros in SQL texts, expanded into a provider's dialect before a
// statement reaches the provider:
//
//   {fn CONCAT(a, b)}            a function of the provider's table
//   {date '2024-01-31'}          date, time and timestamp literals
//   {if NAME} ... {else} ... {endif}   kept while NAME is a defined macro
//   {NAME} or {NAME text}        a connection macro or a predefined one, with text after it
//
// "--" comments become block comments, so that a statement still reads the same once its
// lines are joined. Everything else is copied byte for byte: a text without "{" and without a
// "--" comment comes back unchanged.

#include <map>
#include <memory>
#include <vector>

#include "data/sql/CRParser.h"

class TUniMacros;

// The macros in force: names (upper case) and values, derived from a connection's TUniMacros.
struct TMacroDefinitions {
  std::vector<AnsiString> Names;
  std::vector<AnsiString> Values;
};

class TUniSqlFormatter {
 public:
  TUniSqlFormatter() = default;
  virtual ~TUniSqlFormatter() = default;
  TUniSqlFormatter(const TUniSqlFormatter&) = delete;
  TUniSqlFormatter& operator=(const TUniSqlFormatter&) = delete;

  // Upper-case names to templates ("%s" or "%1:s" placeholders) and values.
  using TNameTable = std::map<AnsiString, AnsiString>;
  virtual const TNameTable& Functions() const;
  virtual const TNameTable& PredefinedMacros() const;
  virtual char LeftQuote() const { return '"'; }
  virtual char RightQuote() const { return '"'; }

  TSQLParserClass ParserClass() const { return parserClass_; }
  void SetParserClass(TSQLParserClass parserClass) { parserClass_ = parserClass; }
  // The connection's macros and the definitions derived from them; both stay the caller's
  // and must outlive the formatter's use of them. Either may be null.
  void SetMacros(const TUniMacros* macros, const TMacroDefinitions* definitions);

  // `sql` with its escapes expanded. Raises Exception with a fixed English text for a
  // malformed escape, an unknown function or an {if} without {endif}.
  AnsiString Format(const AnsiString& sql) const;

  // Whether a condition name (upper case, trimmed) holds: empty, a macro in force, a
  // predefined macro, or a connection macro whose own condition holds. Raises "Cyclic macros
  // conditions" for conditions that depend on each other in a circle.
  bool IsDefined(const AnsiString& name, int depth = 1) const;

 protected:
  explicit TUniSqlFormatter(TSQLParserClass parserClass) : parserClass_(parserClass) {}

 private:
  AnsiString format(const AnsiString& sql, int depth) const;
  AnsiString expandFunction(const AnsiString& call) const;
  AnsiString expandLiteral(const AnsiString& kind, const AnsiString& argument) const;
  const AnsiString* macroValue(const AnsiString& name) const;

  TSQLParserClass parserClass_ = NewParser<TSQLParser>;
  const TUniMacros* macros_ = nullptr;
  const TMacroDefinitions* definitions_ = nullptr;
};

// A formatter class: what a provider names as its SQL formatter.
using TSqlFormatterClass = std::unique_ptr<TUniSqlFormatter> (*)();

template <class Formatter>
std::unique_ptr<TUniSqlFormatter> NewFormatter() {
  return std::make_unique<Formatter>();
}

// What a connection keeps for formatting its statements: a formatter of its provider's class
// and the macro definitions derived from its Macros, rebuilt when those changed.
class TSqlFormatting {
 public:
  explicit TSqlFormatting(const TUniMacros& macros) : macros_(macros) {}

  // `sql` as the provider is to receive it. Makes a formatter of `formatterClass` when there
  // is none or one of another class, refreshes the macro definitions, then formats. On an
  // error nothing is kept half done: the next call starts over.
  AnsiString Expand(const AnsiString& sql, TSqlFormatterClass formatterClass);

  const TMacroDefinitions& Definitions() const { return definitions_; }
  // Null before the first Expand.
  const TUniSqlFormatter* Formatter() const { return formatter_.get(); }

 private:
  void rebuildDefinitions();

  const TUniMacros& macros_;
  TMacroDefinitions definitions_;
  std::unique_ptr<TUniSqlFormatter> formatter_;
  TSqlFormatterClass formatterClass_ = nullptr;
  bool upToDate_ = false;
  unsigned version_ = 0;
};
