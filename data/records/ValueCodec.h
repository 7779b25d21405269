#pragma once
// Every conversion between a field's native value (TFieldValue, as the data set hands it on)
// and what a data type code keeps: the record buffer's reads and writes, the provider's fetch
// and its parameter binding all go through here, so that a value means the same everywhere.
//
// The rules, once:
// - A truth value is stored as 1 or 0 and any other number reads as true.
// - A double becomes an integer by rounding to the nearest, halves away from zero; a double
//   that is no number or lies outside the 64-bit range raises "Cannot convert type".
// - Integer codes narrower than 64 bits keep the low bits of the value.
// - Date-time doubles count days since 1899-12-30; their whole days are the floor of the
//   value and their time the non-negative rest, also before 1899.
// - dcBCD keeps the value × 10000 as a 64-bit integer; dcFMTBCD a 34-byte decimal record.
// Conversions that cannot be made raise EConvertError "Cannot convert type".

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "data/records/DataTypes.h"
#include "platform/db/FieldValue.h"

namespace codec {

// Native dates count days from 0001-01-01 (day 1): this many come before 1899-12-30.
inline constexpr double kDateDelta = 693594;
inline constexpr double kMsPerDay = 86400000.0;

// The size of a dcFMTBCD record: precision, sign and places, 32 bytes of two digits each.
inline constexpr std::size_t kBcdSize = 34;
inline constexpr int kBcdMaxDigits = 64;
inline constexpr int kBcdMaxPlaces = 63;

template <class T>
T load(const std::byte* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <class T>
void store(std::byte* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

// ---- native values as the numbers, truth values, texts and bytes the codes keep

std::int64_t ToInteger(const TFieldValue& value);
// `code` tells how a byte array is meant: a dcFMTBCD record, or no number at all.
double ToDouble(const TFieldValue& value, std::uint16_t code = dcFloat);
bool ToBoolean(const TFieldValue& value);
// Text as it is; numbers as their shortest exact decimal text; truth values as 1 or 0; bytes
// as 8-bit text.
AnsiString ToAnsi(const TFieldValue& value);
WideString ToWide(const TFieldValue& value);
std::vector<std::uint8_t> ToBytes(const TFieldValue& value);

// ---- integers and truth values in a record

// The low bits of `value` in the width of `code` (an integer code or dcBoolean).
inline void StoreInteger(std::uint16_t code, std::byte* at, std::int64_t value) {
  switch (code) {
    case dcInt8: store(at, static_cast<std::int8_t>(value)); break;
    case dcSmallint: store(at, static_cast<std::int16_t>(value)); break;
    case dcWord: store(at, static_cast<std::uint16_t>(value)); break;
    case dcInteger: store(at, static_cast<std::int32_t>(value)); break;
    case dcUInt32: store(at, static_cast<std::uint32_t>(value)); break;
    case dcBoolean: store(at, static_cast<std::int16_t>(value != 0 ? 1 : 0)); break;
    default: store(at, value); break;
  }
}
// The value an integer code keeps at `at`, widened to 64 bits; false for any other code.
inline bool LoadInteger(std::uint16_t code, const std::byte* at, std::int64_t& value) {
  switch (code) {
    case dcInt8: value = load<std::int8_t>(at); return true;
    case dcSmallint: value = load<std::int16_t>(at); return true;
    case dcWord: value = load<std::uint16_t>(at); return true;
    case dcInteger: value = load<std::int32_t>(at); return true;
    case dcUInt32: value = load<std::uint32_t>(at); return true;
    case dcLargeint: value = load<std::int64_t>(at); return true;
    default: return false;
  }
}

// ---- date and time

// The date-time double of a native date (day number), time (milliseconds) or date-time
// (day number × 86400000 + milliseconds, or a dcSQLTimeStamp record).
double DateTimeOf(std::uint16_t code, const TFieldValue& value);
// What a date, time or date-time field keeps of a date-time double: the whole days, the time
// of day, or both.
double DateTimePart(std::uint16_t code, double dateTime);

// ---- decimals

// `value` rounded to `scale` decimals (a float field's Scale); unchanged for scale 0, for
// values too large to carry decimals, and for infinities and NaN.
double RoundToScale(double value, unsigned scale);
// dcBCD: the value × 10000 to the nearest integer; raises "BCD overflow" past 64 bits.
std::int64_t BcdOf(double value);
std::int64_t BcdOf(std::int64_t value);

// dcFMTBCD records from decimal text (an optional sign, digits, a point, digits, an optional
// exponent), from a double (its 15-digit text) and from an integer. Digits beyond 63 places
// are rounded away; more than 64 whole digits raise "BCD overflow".
void FmtBcdFromText(std::string_view text, std::byte* record);
void FmtBcdFromDouble(double value, std::byte* record);
void FmtBcdFromInteger(std::int64_t value, std::byte* record);
// Raises "Cannot convert type" unless the bytes are a well-formed record.
void CheckFmtBcd(const std::uint8_t* record, std::size_t size);
AnsiString FmtBcdToText(const std::uint8_t* record);
double FmtBcdToDouble(const std::uint8_t* record);
// −1, 0 or 1 by the numbers the records stand for (1.50 equals 1.5).
int CompareFmtBcd(const std::uint8_t* a, const std::uint8_t* b);

// ---- texts and byte strings in a record or a heap piece

// Zero-terminated 8-bit text in a slot of `size` bytes: cut to size − 1 bytes.
inline void StoreAnsiText(std::byte* at, std::size_t size, std::string_view text) {
  if (size == 0) return;
  const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
  if (n > 0) std::memcpy(at, text.data(), n);
  at[n] = std::byte{0};
}
// The text of such a slot: its bytes up to the first zero, all `size` without one.
inline std::string_view AnsiTextIn(const std::byte* at, std::size_t size) {
  if (size == 0) return {};
  const auto* text = reinterpret_cast<const char*>(at);
  return {text, strnlen(text, size)};
}
inline AnsiString LoadAnsiText(const std::byte* at, std::size_t size) { return AnsiString(AnsiTextIn(at, size)); }
// Zero-terminated UTF-16 text in a slot of `size` bytes: cut to size / 2 − 1 units.
inline void StoreWideText(std::byte* at, std::size_t size, std::u16string_view text) {
  if (size < 2) return;
  const std::size_t n = text.size() < size / 2 - 1 ? text.size() : size / 2 - 1;
  if (n > 0) std::memcpy(at, text.data(), n * 2);
  store<char16_t>(at + 2 * n, 0);
}
WideString LoadWideText(const std::byte* at, std::size_t size);
// A 16-bit length and the bytes, in `size` bytes: cut to size − 2 bytes.
inline void StoreVarBytes(std::byte* at, std::size_t size, const std::uint8_t* bytes, std::size_t count) {
  if (size < 2) return;
  std::size_t n = count < size - 2 ? count : size - 2;
  if (n > 0xFFFF) n = 0xFFFF;
  store<std::uint16_t>(at, static_cast<std::uint16_t>(n));
  if (n > 0) std::memcpy(at + 2, bytes, n);
}
std::vector<std::uint8_t> LoadVarBytes(const std::byte* at, std::size_t size);

// ---- the fixed-size codes as a whole

// Whether `code` keeps its value in Size bytes of the record with nothing outside it and no
// text: the integer, truth, float, date, BCD, byte and structure codes.
bool IsFixedCode(std::uint16_t code);
// Writes `value` as `code` keeps it, in `size` bytes at `at`; `scale` is the field's Scale.
void StoreFixed(std::uint16_t code, std::byte* at, int size, unsigned scale, const TFieldValue& value);
TFieldValue LoadFixed(std::uint16_t code, const std::byte* at, int size);

}  // namespace codec
