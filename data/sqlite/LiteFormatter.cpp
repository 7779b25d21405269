#include "data/sqlite/LiteFormatter.h"

#include "data/sqlite/LiteParser.h"

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
