#pragma once
// LIKE and GLOB for 8-bit code page 936 text. SQLite's own functions read the bytes as
// UTF-8 and so find wrong rows in GBK text ('%明月%' misses 床前明月光).
//
// A lead byte (0x81..0xFE) and the byte after it are one character; "_" and "?" match one
// character; LIKE ignores the case of ASCII letters only; every other character compares
// exactly.

#include <optional>
#include <string_view>

#include "data/sqlite/SQLiteApi.h"

namespace gbk {

// True when `text` matches the LIKE `pattern`; `escape`, when given, makes the next
// character of the pattern literal.
bool like(std::string_view pattern, std::string_view text, std::optional<std::string_view> escape = std::nullopt);
bool glob(std::string_view pattern, std::string_view text);

// Registers like (two and three arguments) and glob on an open database; SQLite result code.
int registerPatternFunctions(sqlite3* db);

}  // namespace gbk
