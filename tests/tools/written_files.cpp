#include "tests/tools/written_files.h"

#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "tests/support/PinyinDictionaryText.h"

namespace fs = std::filesystem;

std::vector<std::string> storedRows(const fs::path& file, const char* key, const char* sql, int* error) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (key) sqlite3_key(db, key, static_cast<int>(strlen(key)));
  std::vector<std::string> rows;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  while (rc == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      if (i) row += '|';
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      row.append(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
    }
    rows.push_back(row);
  }
  if (error) *error = rc;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

text::PinyinReader pinyinReaderOf(std::vector<std::string> lines) {
  return text::PinyinReader(
      text::PinyinDictionary::Parse(test_support::PinyinDictionaryText(std::move(lines)), "the test's dictionary"));
}
