#include "data/sqlite/LiteCollation.h"

#include <algorithm>
#include <cwctype>

#include "data/sqlite/LiteCallUni.h"
#include "data/sqlite/LiteClassesUni.h"

namespace {

int compareTrampoline(void* data, int length1, const void* text1, int length2, const void* text2) {
  const auto* collation = static_cast<const TSQLiteCollation*>(data);
  const auto widen = [&](const void* bytes, int length) {
    if (collation->utf8Needed)
      return WideString(static_cast<const char16_t*>(bytes), static_cast<std::size_t>(length) / 2);
    return text::ansiToWide(std::string_view(static_cast<const char*>(bytes), static_cast<std::size_t>(length)));
  };
  return collation->compare(widen(text1, length1), widen(text2, length2));
}

}  // namespace

int UniNoCaseCompare(const WideString& a, const WideString& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<char16_t>(std::towupper(a[i]));
    const auto y = static_cast<char16_t>(std::towupper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

TSQLiteCollationManager::~TSQLiteCollationManager() = default;

void TSQLiteCollationManager::RegisterCollation(const AnsiString& name, TCollationFunction compare) {
  UnRegisterCollation(name);
  auto collation = std::make_unique<TSQLiteCollation>(TSQLiteCollation{name, compare, connection_.IsUTF8Needed()});
  const int encoding = collation->utf8Needed ? sqlite::kUtf16 : sqlite::kUtf8;
  connection_.CheckResult(sqlite3api.sqlite3_create_collation(connection_.GetDatabaseHandle(), name.c_str(), encoding,
                                                              collation.get(), compareTrampoline));
  collations_.push_back(std::move(collation));
}

void TSQLiteCollationManager::UnRegisterCollation(const AnsiString& name) {
  for (auto it = collations_.begin(); it != collations_.end(); ++it) {
    if ((*it)->name != name) continue;
    // SQLite forgets the descriptor before it is freed.
    const int encoding = (*it)->utf8Needed ? sqlite::kUtf16 : sqlite::kUtf8;
    if (sqlite3* db = connection_.GetDatabaseHandle())
      connection_.CheckResult(sqlite3api.sqlite3_create_collation(db, name.c_str(), encoding, nullptr, nullptr));
    collations_.erase(it);
    return;
  }
}

void TSQLiteCollationManager::UnRegisterAll() {
  while (!collations_.empty()) UnRegisterCollation(collations_.back()->name);
}
