#pragma once
// Collations a connection registers with SQLite, and the default one, UniNoCase.

#include <memory>
#include <vector>

#include "data/sqlite/SQLiteApi.h"
#include "platform/text/AnsiText.h"

class TSQLiteConnection;

// Compares two UTF-16 texts: < 0, 0 or > 0.
using TCollationFunction = int (*)(const WideString& a, const WideString& b);

struct TSQLiteCollation {
  AnsiString name;
  TCollationFunction compare;
  bool utf8Needed;  // the texts SQLite hands over are UTF-16 rather than 8-bit
};

class TSQLiteCollationManager {
 public:
  explicit TSQLiteCollationManager(TSQLiteConnection& connection) : connection_(connection) {}
  ~TSQLiteCollationManager();

  void RegisterCollation(const AnsiString& name, TCollationFunction compare);
  void UnRegisterCollation(const AnsiString& name);
  void UnRegisterAll();

 private:
  TSQLiteConnection& connection_;
  std::vector<std::unique_ptr<TSQLiteCollation>> collations_;
};

inline constexpr const char* kUniNoCase = "UniNoCase";
// Upper-cases both texts and compares them by UTF-16 code units.
int UniNoCaseCompare(const WideString& a, const WideString& b);
