#include "data/sql/SqlFormatter.h"

#include <algorithm>
#include <cctype>

#include "data/sql/Macros.h"
#include "platform/classes/Exceptions.h"

namespace {

// Escapes inside escape arguments and macros inside macro values; a real statement needs a
// few levels, and a limit keeps a macro that names itself, or a text of nothing but "{a ",
// from exhausting the stack.
constexpr int kMaxNesting = 32;

std::unique_ptr<TSQLParser> newTokenizer(TSQLParserClass parserClass, const AnsiString& text, bool blanks) {
  std::unique_ptr<TSQLParser> parser = parserClass(text);
  parser->OmitBlank = !blanks;
  parser->OmitComment = !blanks;
  parser->QuotedString = true;
  parser->Uppered = false;
  parser->UnknownAsSymbol = true;
  return parser;
}

bool isSymbol(int code, std::string_view token, char symbol) {
  return (code == lcSymbol || code > 0) && token.size() == 1 && token[0] == symbol;
}

// Fills a function template: "%s" takes the next argument, "%1:s" the second (and makes the
// next "%s" take the third), "%%" is a percent sign. Every argument must be used and no
// placeholder may be left without one, so that a call never yields half-filled SQL.
AnsiString fillTemplate(const AnsiString& pattern, const std::vector<AnsiString>& args, const AnsiString& name) {
  const auto wrongCount = [&] { return Exception("Wrong argument count for function: " + name); };
  AnsiString result;
  std::size_t next = 0, used = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      result += pattern[i];
      continue;
    }
    if (pattern[i + 1] == '%') {
      result += '%';
      ++i;
      continue;
    }
    std::size_t j = i + 1, index = next;
    if (std::isdigit(static_cast<unsigned char>(pattern[j]))) {
      std::size_t k = j, number = 0;
      while (k < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[k])) && number < 100)
        number = number * 10 + static_cast<std::size_t>(pattern[k++] - '0');
      if (k < pattern.size() && pattern[k] == ':') {
        index = number;
        j = k + 1;
      }
    }
    if (j >= pattern.size() || pattern[j] != 's') {
      result += pattern[i];
      continue;
    }
    if (index >= args.size()) throw wrongCount();
    result += args[index];
    used = std::max(used, index + 1);
    next = index + 1;
    i = j;
  }
  if (used != args.size()) throw wrongCount();
  return result;
}

}  // namespace

const TUniSqlFormatter::TNameTable& TUniSqlFormatter::Functions() const {
  static const TNameTable none;
  return none;
}

const TUniSqlFormatter::TNameTable& TUniSqlFormatter::PredefinedMacros() const {
  static const TNameTable none;
  return none;
}

void TUniSqlFormatter::SetMacros(const TUniMacros* macros, const TMacroDefinitions* definitions) {
  macros_ = macros;
  definitions_ = definitions;
}

AnsiString TUniSqlFormatter::Format(const AnsiString& sql) const {
  // Every statement a data set runs passes through here, and most hold nothing to rewrite.
  if (sql.find_first_of("{\"") == AnsiString::npos && sql.find("--") == AnsiString::npos) return sql;
  return format(sql, 1);
}

AnsiString TUniSqlFormatter::format(const AnsiString& sql, int depth) const {
  if (depth > kMaxNesting) throw Exception("Macros or escapes nested too deeply");
  const std::unique_ptr<TSQLParser> parser = newTokenizer(parserClass_, sql, true);
  AnsiString result;
  result.reserve(sql.size());

  struct Condition {
    bool holds;
    bool elseSeen;
  };
  std::vector<Condition> conditions;
  int failing = 0;  // open conditions that do not hold; output only while there are none

  for (int code = parser->GetNext(); code != lcEnd; code = parser->GetNext()) {
    std::string_view token = parser->TokenText();
    if (!isSymbol(code, token, '{')) {
      if (failing > 0) continue;
      if (code == lcIdent && token.size() > 1 && token.front() == '"' && token.back() == '"') {
        result += LeftQuote();
        result += token.substr(1, token.size() - 2);
        result += RightQuote();
      } else if (code == lcComment && token.starts_with("--") && token.find("*/") == std::string_view::npos) {
        result += "/*";
        result += token.substr(2);
        result += "*/";
      } else {
        result += token;
      }
      continue;
    }

    code = parser->GetNext();
    if (code != lcIdent && !parser->IsKeyword(code)) throw Exception("Empty macro or function name");
    const AnsiString name(parser->TokenText());
    AnsiString argument;
    code = parser->GetNext();
    if (code == lcBlank) {
      // Up to the matching "}", or to the end of the text when there is none.
      const auto start = static_cast<std::size_t>(parser->CurrPos() - 1);
      std::size_t end = sql.size();
      int open = 1;
      for (code = parser->GetNext(); code != lcEnd; code = parser->GetNext()) {
        token = parser->TokenText();
        if (isSymbol(code, token, '{')) {
          ++open;
        } else if (isSymbol(code, token, '}') && --open == 0) {
          end = static_cast<std::size_t>(parser->LexemPos() - 1);
          break;
        }
      }
      argument = sql.substr(start, end - start);
    } else if (!isSymbol(code, parser->TokenText(), '}')) {
      throw Exception("Unexpected character");
    }

    const AnsiString key = sqltext::lowerCase(name);
    if (key == "if") {
      const bool holds = failing == 0 && IsDefined(sqltext::upperCase(sqltext::trim(format(argument, depth + 1))));
      conditions.push_back({holds, false});
      if (!holds) ++failing;
    } else if (key == "else") {
      if (conditions.empty() || conditions.back().elseSeen) throw Exception("Unexpected {else}");
      Condition& top = conditions.back();
      failing += top.holds ? 1 : -1;
      top.holds = !top.holds;
      top.elseSeen = true;
    } else if (key == "endif") {
      if (conditions.empty()) throw Exception("Unexpected {endif}");
      if (!conditions.back().holds) --failing;
      conditions.pop_back();
    } else if (failing > 0) {
      continue;
    } else if (key == "fn") {
      result += expandFunction(format(argument, depth + 1));
    } else if (key == "date" || key == "time" || key == "timestamp") {
      result += expandLiteral(key, format(argument, depth + 1));
    } else if (const AnsiString* value = macroValue(sqltext::upperCase(sqltext::trim(name)))) {
      AnsiString text = *value;
      if (!argument.empty()) text += " " + format(argument, depth + 1);
      result += format(text, depth + 1);
    }
  }
  if (!conditions.empty()) throw Exception("{if} statement not completed");
  return result;
}

AnsiString TUniSqlFormatter::expandFunction(const AnsiString& call) const {
  const std::unique_ptr<TSQLParser> parser = newTokenizer(parserClass_, call, false);
  int code = parser->GetNext();
  if (code != lcIdent && !parser->IsKeyword(code)) throw Exception("Empty function name");
  const AnsiString name(parser->TokenText());

  std::vector<AnsiString> args;
  code = parser->GetNext();
  if (code != lcEnd) {
    if (!isSymbol(code, parser->TokenText(), '(')) throw Exception("Unexpected character");
    auto start = static_cast<std::size_t>(parser->CurrPos() - 1);
    const auto piece = [&] { return call.substr(start, static_cast<std::size_t>(parser->LexemPos() - 1) - start); };
    bool empty = true;  // "f()" has no argument, "f(,)" two empty ones
    for (int depth = 1;;) {
      code = parser->GetNext();
      if (code == lcEnd) throw Exception("Invalid bracket count in function call");
      const std::string_view token = parser->TokenText();
      if (isSymbol(code, token, ')') && --depth == 0) {
        if (!empty) args.push_back(piece());
        // Text after the call would otherwise vanish from the statement without a word.
        if (parser->GetNext() != lcEnd) throw Exception("Invalid bracket count in function call");
        break;
      }
      empty = false;
      if (isSymbol(code, token, '(')) {
        ++depth;
      } else if (depth == 1 && isSymbol(code, token, ',')) {
        args.push_back(piece());
        start = static_cast<std::size_t>(parser->CurrPos() - 1);
      }
    }
  }

  const auto found = Functions().find(sqltext::upperCase(name));
  if (found == Functions().end()) throw Exception("Unknown function: " + name);
  if (args.size() > 3) throw Exception("Wrong argument count for function: " + name);
  return fillTemplate(found->second, args, name);
}

AnsiString TUniSqlFormatter::expandLiteral(const AnsiString& kind, const AnsiString& argument) const {
  const AnsiString literal = sqltext::trim(argument);
  if (literal.size() < 2 || literal.front() != '\'' || literal.back() != '\'') {
    if (kind == "date") throw Exception("Invalid year-month-day string. The format is {date 'yyyy-mm-dd'}");
    if (kind == "time") throw Exception("Invalid hour-minute-second string. The format is {time 'hh:mm:ss'}");
    throw Exception("Invalid timestamp string. The format is {timestamp 'yyyy-mm-dd hh:mm:ss'}");
  }
  const char* templateName = kind == "date" ? "__DATE_LITERAL" : kind == "time" ? "__TIME_LITERAL" : "__DATE_TIME_LITERAL";
  const auto found = Functions().find(templateName);
  return found == Functions().end() ? literal : fillTemplate(found->second, {literal}, templateName);
}

const AnsiString* TUniSqlFormatter::macroValue(const AnsiString& name) const {
  if (definitions_) {
    const auto& names = definitions_->Names;
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return &definitions_->Values[static_cast<std::size_t>(it - names.begin())];
  }
  const auto found = PredefinedMacros().find(name);
  return found == PredefinedMacros().end() ? nullptr : &found->second;
}

bool TUniSqlFormatter::IsDefined(const AnsiString& name, int depth) const {
  const int count = macros_ ? macros_->Count() : 0;
  // A chain of conditions without a circle visits each macro once and may end on one more
  // name that is no macro.
  if (depth > count + 1) throw Exception("Cyclic macros conditions");
  if (name.empty()) return true;
  if (definitions_ && std::find(definitions_->Names.begin(), definitions_->Names.end(), name) != definitions_->Names.end())
    return true;
  if (PredefinedMacros().count(name)) return true;
  for (int i = 0; i < count; ++i) {
    const TUniMacro& macro = *macros_->Items(i);
    if (sqltext::upperCase(sqltext::trim(macro.Name())) != name) continue;
    const AnsiString condition = sqltext::upperCase(sqltext::trim(macro.Condition()));
    if (condition.empty() || IsDefined(condition, depth + 1)) return true;
  }
  return false;
}

// ---- TSqlFormatting --------------------------------------------------------------------------

AnsiString TSqlFormatting::Expand(const AnsiString& sql, TSqlFormatterClass formatterClass) {
  if (!formatterClass) formatterClass = NewFormatter<TUniSqlFormatter>;
  if (!formatter_ || formatterClass_ != formatterClass) {
    formatter_ = formatterClass();
    formatterClass_ = formatterClass;
    upToDate_ = false;
  }
  formatter_->SetMacros(&macros_, &definitions_);
  if (!upToDate_ || version_ != macros_.Version()) rebuildDefinitions();
  return formatter_->Format(sql);
}

void TSqlFormatting::rebuildDefinitions() {
  upToDate_ = false;
  definitions_.Names.clear();
  definitions_.Values.clear();
  // Whether the value listed for a name came from a macro without condition, which a
  // conditional macro of the same name then overrides.
  std::vector<bool> plain;
  for (int i = 0; i < macros_.Count(); ++i) {
    const TUniMacro& macro = *macros_.Items(i);
    const AnsiString condition = sqltext::upperCase(sqltext::trim(macro.Condition()));
    if (!condition.empty() && !formatter_->IsDefined(condition)) continue;
    const AnsiString name = sqltext::upperCase(sqltext::trim(macro.Name()));
    auto& names = definitions_.Names;
    const auto index = static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    if (index == names.size()) {
      names.push_back(name);
      definitions_.Values.push_back(macro.Value());
      plain.push_back(condition.empty());
    } else if (condition.empty()) {
      plain[index] = true;
    } else if (plain[index]) {
      definitions_.Values[index] = macro.Value();
      plain[index] = false;
    }
  }
  version_ = macros_.Version();
  upToDate_ = true;
}
