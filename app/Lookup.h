#pragma once
// A query made for one lookup: on `connection`, with `sql` as its only line, opened.

#include <memory>

#include "data/access/UniQuery.h"

inline std::unique_ptr<TUniQuery> Lookup(TUniConnection& connection, const AnsiString& sql) {
  auto query = std::make_unique<TUniQuery>(nullptr);
  query->SetConnection(&connection);
  query->SQL().Add(sql);
  query->Open();
  return query;
}
