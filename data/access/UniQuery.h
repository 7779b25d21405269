#pragma once
// The query component the application holds for every statement it runs.

#include "data/access/DBAccess.h"

// A data set on a TUniConnection: errors come as EUniError, and an SQLite result reads its
// table's column descriptions after it opens.
class TCustomUniDataSet : public TCustomDADataSet {
 public:
  using TCustomDADataSet::TCustomDADataSet;
  const char* ClassName() const override { return "TCustomUniDataSet"; }

 protected:
  void RunWrapped(const std::function<void()>& action) override;
  void CursorOpened() override;
};

class TUniQuery : public TCustomUniDataSet {
 public:
  using TCustomUniDataSet::TCustomUniDataSet;
  const char* ClassName() const override { return "TUniQuery"; }
};
