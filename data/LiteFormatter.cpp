#include "data/LiteFormatter.h"

#include "data/LiteParser.h"
#include "data/SQLiteUniProvider.h"

TLiteFormatter::TLiteFormatter() : TUniSqlFormatter(NewParser<TLiteParser>) {}

const TUniSqlFormatter::TNameTable& TLiteFormatter::Functions() const {
  static const TNameTable functions{
      {"CHAR_LENGTH", "LENGTH(%s)"},
      {"SUBSTRING", "SUBSTR(%s, %s, %s)"},
      {"CONCAT", "%s || %s"},
      {"TRIM", "TRIM(%s)"},
      {"CURRENT_DATE", "CURRENT_DATE"},
      {"DATEADD", "DATE(%2:s, '%1:s %0:s')"},
      {"__DATE_TIME_LITERAL", "%s"},
      {"__DATE_LITERAL", "%s"},
      {"__TIME_LITERAL", "%s"},
      {"TODATE", "CAST(%s AS VARCHAR)"},
      {"TONUMBER", "CAST(%s AS DOUBLE)"},
      {"TOCHAR", "CAST(%s AS VARCHAR)"},
  };
  return functions;
}

const TUniSqlFormatter::TNameTable& TLiteFormatter::PredefinedMacros() const {
  static const TNameTable macros{
      {"PROVIDER", "SQLite"}, {"SQLITE", ""}, {"DATETIME", "TEXT"}, {"DOUBLE", "DOUBLE"}, {"VARCHAR", "VARCHAR"},
  };
  return macros;
}

TSqlFormatterClass SqlFormatterClassOf(const TUniProvider* provider) {
  if (dynamic_cast<const TSQLiteUniProvider*>(provider)) return NewFormatter<TLiteFormatter>;
  return NewFormatter<TUniSqlFormatter>;
}

AnsiString StatementText(const AnsiString& sql, TSqlFormatting& formatting, const TUniProvider* provider,
                         const std::function<bool(const AnsiString& name, AnsiString& value)>& dataSetMacros) {
  std::size_t end = sql.size();
  while (end > 0 && static_cast<unsigned char>(sql[end - 1]) < 33) --end;
  AnsiString text = sql.substr(0, end);
  if (dataSetMacros) text = ReplaceSQLMacros(text, dataSetMacros);
  return formatting.Expand(text, SqlFormatterClassOf(provider));
}
