#pragma once
// The SQLite provider's SQL formatter: its function templates and predefined macros.

#include <functional>

#include "data/SqlFormatter.h"

class TUniProvider;

class TLiteFormatter : public TUniSqlFormatter {
 public:
  TLiteFormatter();

  const TNameTable& Functions() const override;
  const TNameTable& PredefinedMacros() const override;
};

// The formatter class of `provider`: TLiteFormatter for the SQLite provider, the neutral
// TUniSqlFormatter for any other and for none. A connection formats every statement with
//   formatting.Expand(sql, SqlFormatterClassOf(provider))
TSqlFormatterClass SqlFormatterClassOf(const TUniProvider* provider);

// The text a query's command receives: `sql` without its trailing characters below code 33,
// with the data set's "&" macros replaced (`dataSetMacros` gives a value or false) and then
// formatted for `provider` by the connection's `formatting`.
AnsiString StatementText(const AnsiString& sql, TSqlFormatting& formatting, const TUniProvider* provider,
                         const std::function<bool(const AnsiString& name, AnsiString& value)>& dataSetMacros = {});
