#include "data/sqlite/LiteDataTypes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "data/records/DataTypes.h"

namespace {

// The largest length a field descriptor can hold; anything longer never stays in the
// record anyway (text above 4095 becomes a memo, bytes a blob).
constexpr long long kMaxDeclaredNumber = 65535;

// A length or scale of a declared type. The type comes from the file's schema, which may say
// anything (varchar(-1), char(99999999999), decimal(10,x)): only a whole number from 1 to
// kMaxDeclaredNumber counts, anything else is read as no length or no scale (0).
int declaredNumber(const AnsiString& text) {
  const AnsiString t(text::trimmed(text));
  if (t.empty()) return 0;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(t.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < 1 || value > kMaxDeclaredNumber) return 0;
  return static_cast<int>(value);
}

bool oneOf(const AnsiString& name, std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

bool startsWith(const AnsiString& name, const char* prefix) { return name.rfind(prefix, 0) == 0; }

}  // namespace

TLiteColumnType MapDeclaredType(const AnsiString& declared, bool enableBCD, bool enableFMTBCD) {
  const AnsiString type = text::upperAscii(declared);
  AnsiString base = type;
  int length = 0, scale = 0;
  const auto open = type.find('('), close = type.find(')');
  if (open != AnsiString::npos && close != AnsiString::npos) {
    base = type.substr(0, open);
    const AnsiString inside = type.substr(open + 1, close > open ? close - open - 1 : 0);
    const auto comma = inside.find(',');
    length = declaredNumber(inside.substr(0, comma));
    if (comma != AnsiString::npos) scale = declaredNumber(inside.substr(comma + 1));
  }
  if (oneOf(base, {"INT2", "SMALLINT", "SMALL INT", "TINYINT", "TINY INT"})) return {dcSmallint, 0, 0};
  if (oneOf(base, {"BIGINT", "BIG INT", "UNSIGNED BIG INT", "UNSIGNED BIGINT", "INT8", "INT64"}))
    return {dcLargeint, 0, 0};
  if (oneOf(base, {"INT", "INTEGER", "MEDIUMINT", "MEDIUM INT"})) return {dcInteger, 0, 0};
  if (base.find("INT") != AnsiString::npos) return {dcInteger, 0, 0};
  if (base.find("CHAR") != AnsiString::npos) return {dcString, length, 0};
  if (startsWith(base, "TEXT") || startsWith(base, "CLOB")) return {dcMemo, 0, 0};
  if (startsWith(base, "BLOB")) return {dcBlob, 0, 0};
  if (startsWith(base, "REAL") || startsWith(base, "FLOAT") || startsWith(base, "DOUBLE")) return {dcFloat, 0, 0};
  if (oneOf(base, {"NUMERIC", "DECIMAL", "NUMBER"})) {
    if (enableFMTBCD) {
      const int precision = length >= 1 && length <= 32 ? length : 32;
      return {dcFMTBCD, precision, std::min(precision, scale)};
    }
    if (enableBCD) return {dcBCD, length >= 1 && length <= 18 ? length : 18, std::min(scale, 4)};
    return {dcFloat, 0, 0};
  }
  if (base == "MONEY") return {dcCurrency, 0, 0};
  if (startsWith(base, "BOOL")) return {dcBoolean, 0, 0};
  if (oneOf(base, {"BINARY", "VARBINARY"})) return {dcVarBytes, length, 0};
  if (base == "DATE") return {dcDate, 0, 0};
  if (base == "TIME") return {dcTime, 0, 0};
  if (oneOf(base, {"DATETIME", "TIMESTAMP"})) return {dcDateTime, 0, 0};
  return {dcString, 0, 0};
}

void PromoteColumnType(TLiteColumnType& type, bool longStrings, bool inlineStrings) {
  if (type.DataType == dcString) {
    if (type.Length == 0) type.Length = 4095;
    if (type.Length >= 255 && (!longStrings || type.Length > 4095))
      type.DataType = dcMemo;
    else if (type.Length >= 32 && !inlineStrings)
      type.DataType = dcHeapString;
  } else if (type.DataType == dcVarBytes) {
    if (type.Length == 0 || type.Length > 4095)
      type.DataType = dcBlob;
    else if (type.Length >= 32 && !inlineStrings)
      type.DataType = dcHeapVarBytes;
  }
}
