#pragma once
// The SQLite provider's SQL formatter: its function templates and predefined macros.

#include "data/sql/SqlFormatter.h"

class TLiteFormatter : public TUniSqlFormatter {
 public:
  TLiteFormatter();

  const TNameTable& Functions() const override;
  const TNameTable& PredefinedMacros() const override;
};
