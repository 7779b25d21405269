#pragma once
// SQLite's errors: the primary result code and the library's own message, byte for byte.

#include "data/records/DAError.h"
#include "data/sqlite/SQLiteApi.h"

class ESQLiteError : public EDAError {
 public:
  ESQLiteError(int errorCode, AnsiString message) : EDAError(errorCode, std::move(message)) {}

  bool IsFatal() const override { return false; }
  bool IsConstraintViolation() const override { return ErrorCode() == sqlite::kConstraint; }
  std::shared_ptr<EDAError> Clone() const override { return std::make_shared<ESQLiteError>(*this); }
};
