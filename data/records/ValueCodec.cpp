#include "data/records/ValueCodec.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "data/records/DateTimeText.h"
#include "platform/classes/Exceptions.h"

namespace codec {

namespace {

[[noreturn]] void cannotConvert() { throw EConvertError("Cannot convert type"); }
[[noreturn]] void bcdOverflow() { throw EConvertError("BCD overflow"); }

// 2^63: the first double past the 64-bit integers.
constexpr double kTwoTo63 = 9223372036854775808.0;

std::int64_t roundToInteger(double value) {
  const double rounded = std::round(value);
  if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63)) cannotConvert();
  return static_cast<std::int64_t>(rounded);
}

// The text without surrounding blanks and without a leading plus, which from_chars refuses.
std::string_view numberText(std::string_view text) {
  text = text::trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  return text;
}

bool parseInteger(std::string_view text, std::int64_t& value) {
  text = numberText(text);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool parseDouble(std::string_view text, double& value) {
  text = numberText(text);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

AnsiString textOfValue(const TFieldValue& value) {
  if (const auto* s = std::get_if<AnsiString>(&value)) return *s;
  if (const auto* w = std::get_if<WideString>(&value)) return text::wideToAnsi(*w);
  cannotConvert();
}

AnsiString shortestText(double value) {
  std::array<char, 32> text;
  const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
  return AnsiString(text.data(), result.ptr);
}

bool isInteger(const TFieldValue& value) {
  return std::holds_alternative<std::int32_t>(value) || std::holds_alternative<std::int64_t>(value) ||
         std::holds_alternative<bool>(value);
}

// ---- the 34-byte decimal record

struct Decimal {
  bool negative = false;
  std::string digits;  // most significant first, at least places + 1 of them
  int places = 0;
};

// Drops the last `count` digits, rounding half away from zero.
void roundOff(std::string& digits, std::size_t count) {
  if (count == 0) return;
  if (count > digits.size()) {
    digits = "0";
    return;
  }
  const bool up = digits[digits.size() - count] >= '5';
  digits.resize(digits.size() - count);
  if (!up) {
    if (digits.empty()) digits = "0";
    return;
  }
  std::size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i == 0)
    digits.insert(digits.begin(), '1');
  else
    ++digits[i - 1];
}

// Brings the digits to the record's limits: at most 63 places, at most 64 digits, no more
// leading zeros than the places need.
void fitDecimal(Decimal& d) {
  if (d.places > kBcdMaxPlaces) {
    roundOff(d.digits, static_cast<std::size_t>(d.places - kBcdMaxPlaces));
    d.places = kBcdMaxPlaces;
  }
  for (;;) {
    const auto minimum = static_cast<std::size_t>(d.places) + 1;
    const std::size_t zeros = d.digits.find_first_not_of('0');
    const std::size_t leading = zeros == std::string::npos ? d.digits.size() : zeros;
    const std::size_t removable = d.digits.size() > minimum ? std::min(leading, d.digits.size() - minimum) : 0;
    d.digits.erase(0, removable);
    if (d.digits.size() < minimum) d.digits.insert(0, minimum - d.digits.size(), '0');
    if (d.digits.size() <= static_cast<std::size_t>(kBcdMaxDigits)) break;
    const std::size_t excess = d.digits.size() - kBcdMaxDigits;
    if (excess > static_cast<std::size_t>(d.places)) bcdOverflow();
    roundOff(d.digits, excess);
    d.places -= static_cast<int>(excess);
  }
  if (d.digits.find_first_not_of('0') == std::string::npos) d.negative = false;
}

Decimal parseDecimal(std::string_view text) {
  text = text::trimmed(text);
  Decimal d;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
  bool point = false, anyDigit = false;
  long places = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      // Leading zeros carry nothing; they would only make the text long.
      if (!(c == '0' && d.digits.empty() && !point)) d.digits += c;
      anyDigit = true;
      if (point) ++places;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::string_view rest = text.substr(i + 1);
    const bool minus = !rest.empty() && rest.front() == '-';
    if (!rest.empty() && (rest.front() == '+' || minus)) rest.remove_prefix(1);
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
    if (end == rest.data() || end != rest.data() + rest.size()) cannotConvert();
    // Past this any value is either zero or too large; the exact exponent no longer matters.
    constexpr long kExponentCap = 100000;
    if (error == std::errc::result_out_of_range || exponent > kExponentCap) exponent = kExponentCap;
    if (minus) exponent = -exponent;
    i = text.size();
  }
  if (!anyDigit || i != text.size()) cannotConvert();
  if (d.digits.empty()) d.digits = "0";
  const long shift = exponent - places;
  if (shift > 0) {
    if (d.digits != "0") {
      if (static_cast<long>(d.digits.size()) + shift > kBcdMaxDigits) bcdOverflow();
      d.digits.append(static_cast<std::size_t>(shift), '0');
    }
    d.places = 0;
  } else {
    // Far more places than the record holds round to nothing either way.
    d.places = static_cast<int>(std::min<long>(-shift, 10 * kBcdMaxDigits + d.digits.size()));
  }
  fitDecimal(d);
  return d;
}

void writeDecimal(const Decimal& d, std::byte* record) {
  std::array<std::uint8_t, kBcdSize> bytes{};
  bytes[0] = static_cast<std::uint8_t>(d.digits.size());
  bytes[1] = static_cast<std::uint8_t>((d.negative ? 0x80 : 0) | d.places);
  for (std::size_t i = 0; i < d.digits.size(); ++i) {
    const auto digit = static_cast<std::uint8_t>(d.digits[i] - '0');
    bytes[2 + i / 2] |= static_cast<std::uint8_t>(i % 2 ? digit : digit << 4);
  }
  std::memcpy(record, bytes.data(), bytes.size());
}

Decimal readDecimal(const std::uint8_t* record) {
  Decimal d;
  const int precision = std::clamp<int>(record[0], 1, kBcdMaxDigits);
  d.places = std::min<int>(record[1] & 0x3F, precision);
  d.negative = (record[1] & 0x80) != 0;
  for (int i = 0; i < precision; ++i) {
    const int nibble = i % 2 ? record[2 + i / 2] & 0x0F : record[2 + i / 2] >> 4;
    d.digits += static_cast<char>('0' + std::min(nibble, 9));
  }
  // A record may keep no whole digit at all: 0.05 as the two places 05.
  if (d.places == precision) d.digits.insert(d.digits.begin(), '0');
  return d;
}

// The whole and the fraction digits of a decimal without the zeros that carry nothing.
std::pair<std::string, std::string> significant(const Decimal& d) {
  const std::size_t split = d.digits.size() - static_cast<std::size_t>(d.places);
  std::string whole = d.digits.substr(0, split), fraction = d.digits.substr(split);
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  const std::size_t last = fraction.find_last_not_of('0');
  fraction.resize(last == std::string::npos ? 0 : last + 1);
  return {whole, fraction};
}

int compareMagnitude(const Decimal& a, const Decimal& b) {
  const auto [wa, fa] = significant(a);
  const auto [wb, fb] = significant(b);
  if (wa.size() != wb.size()) return wa.size() < wb.size() ? -1 : 1;
  if (const int c = wa.compare(wb)) return c < 0 ? -1 : 1;
  const int c = fa.compare(fb);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool isZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

// ---- the 16-byte time stamp record: year, month, day, hour, minute, second, fraction (ms)

double timeStampOf(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 16) cannotConvert();
  const auto* at = reinterpret_cast<const std::byte*>(bytes.data());
  const int year = load<std::int16_t>(at);
  const int month = load<std::uint16_t>(at + 2), day = load<std::uint16_t>(at + 4);
  const int hour = load<std::uint16_t>(at + 6), minute = load<std::uint16_t>(at + 8),
            second = load<std::uint16_t>(at + 10);
  const std::uint32_t fraction = load<std::uint32_t>(at + 12);
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59 ||
      fraction > 999)
    cannotConvert();
  return EncodeDate(year, month, day) + (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + fraction) / kMsPerDay;
}

}  // namespace

// ---- native values

std::int64_t ToInteger(const TFieldValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) return *b ? 1 : 0;
  if (const auto* i = std::get_if<std::int32_t>(&value)) return *i;
  if (const auto* l = std::get_if<std::int64_t>(&value)) return *l;
  if (const auto* d = std::get_if<double>(&value)) return roundToInteger(*d);
  if (std::holds_alternative<AnsiString>(value) || std::holds_alternative<WideString>(value)) {
    const AnsiString text = textOfValue(value);
    std::int64_t integer;
    if (parseInteger(text, integer)) return integer;
    double number;
    if (parseDouble(text, number)) return roundToInteger(number);
  }
  cannotConvert();
}

double ToDouble(const TFieldValue& value, std::uint16_t code) {
  if (const auto* d = std::get_if<double>(&value)) return *d;
  if (isInteger(value)) return static_cast<double>(ToInteger(value));
  if (std::holds_alternative<AnsiString>(value) || std::holds_alternative<WideString>(value)) {
    double number;
    if (parseDouble(textOfValue(value), number)) return number;
  }
  if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value); bytes && code == dcFMTBCD) {
    CheckFmtBcd(bytes->data(), bytes->size());
    return FmtBcdToDouble(bytes->data());
  }
  cannotConvert();
}

bool ToBoolean(const TFieldValue& value) {
  if (const auto* b = std::get_if<bool>(&value)) return *b;
  if (const auto* d = std::get_if<double>(&value)) return *d != 0;
  if (std::holds_alternative<AnsiString>(value) || std::holds_alternative<WideString>(value)) {
    const AnsiString word = text::upperAscii(text::trimmed(textOfValue(value)));
    if (word == "TRUE") return true;
    if (word == "FALSE") return false;
    return ToDouble(value) != 0;
  }
  return ToInteger(value) != 0;
}

AnsiString ToAnsi(const TFieldValue& value) {
  if (const auto* s = std::get_if<AnsiString>(&value)) return *s;
  if (const auto* w = std::get_if<WideString>(&value)) return text::wideToAnsi(*w);
  if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&value)) return AnsiString(b->begin(), b->end());
  if (const auto* d = std::get_if<double>(&value)) return shortestText(*d);
  if (isInteger(value)) return std::to_string(ToInteger(value));
  cannotConvert();
}

WideString ToWide(const TFieldValue& value) {
  if (const auto* w = std::get_if<WideString>(&value)) return *w;
  return text::ansiToWide(ToAnsi(value));
}

std::vector<std::uint8_t> ToBytes(const TFieldValue& value) {
  if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&value)) return *b;
  const AnsiString text = ToAnsi(value);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// ---- dates

double DateTimeOf(std::uint16_t code, const TFieldValue& value) {
  switch (code) {
    case dcDate: return static_cast<double>(ToInteger(value)) - kDateDelta;
    case dcTime: return static_cast<double>(ToInteger(value)) / kMsPerDay;
    default: {
      if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value); bytes && code == dcSQLTimeStamp)
        return timeStampOf(*bytes);
      const double ms = ToDouble(value);
      if (!std::isfinite(ms)) cannotConvert();
      const double days = std::floor(ms / kMsPerDay);
      return days - kDateDelta + (ms - days * kMsPerDay) / kMsPerDay;
    }
  }
}

double DateTimePart(std::uint16_t code, double dateTime) {
  if (code == dcDate) return std::floor(dateTime);
  if (code == dcTime) return dateTime - std::floor(dateTime);
  return dateTime;
}

// ---- decimals

double RoundToScale(double value, unsigned scale) {
  if (scale == 0 || !std::isfinite(value)) return value;
  // The value in 18 significant digits, d.ddddddddddddddddde±x, is rounded at the place of its
  // last kept decimal; 18 digits read back as the very same double.
  constexpr int kDigits = 18;
  std::array<char, 32> text;
  const auto written =
      std::to_chars(text.data(), text.data() + text.size(), std::fabs(value), std::chars_format::scientific, kDigits - 1);
  const std::string_view scientific(text.data(), static_cast<std::size_t>(written.ptr - text.data()));
  const std::size_t e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 1 + (scientific[e + 1] == '+'), written.ptr, exponent);
  const long kept = static_cast<long>(exponent) + 1 + static_cast<long>(scale);
  if (kept >= kDigits) return value;  // too large to carry that many decimals
  std::string digits;
  for (const char c : scientific.substr(0, e))
    if (c != '.') digits += c;
  roundOff(digits, static_cast<std::size_t>(kDigits - kept));
  digits += "e-" + std::to_string(scale);
  double rounded = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), rounded);
  return value < 0 && rounded != 0 ? -rounded : rounded;
}

std::int64_t BcdOf(double value) {
  const double scaled = std::round(value * 10000.0);
  if (!(scaled >= -kTwoTo63 && scaled < kTwoTo63)) bcdOverflow();
  return static_cast<std::int64_t>(scaled);
}

std::int64_t BcdOf(std::int64_t value) {
  std::int64_t scaled;
  if (__builtin_mul_overflow(value, std::int64_t{10000}, &scaled)) bcdOverflow();
  return scaled;
}

void FmtBcdFromText(std::string_view text, std::byte* record) { writeDecimal(parseDecimal(text), record); }

void FmtBcdFromDouble(double value, std::byte* record) {
  if (!std::isfinite(value)) cannotConvert();
  std::array<char, 32> text;
  const auto written = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::general, 15);
  FmtBcdFromText(std::string_view(text.data(), static_cast<std::size_t>(written.ptr - text.data())), record);
}

void FmtBcdFromInteger(std::int64_t value, std::byte* record) { FmtBcdFromText(std::to_string(value), record); }

void CheckFmtBcd(const std::uint8_t* record, std::size_t size) {
  if (size != kBcdSize) cannotConvert();
  const int precision = record[0], places = record[1] & 0x3F;
  if (precision < 1 || precision > kBcdMaxDigits || places > precision || (record[1] & 0x40)) cannotConvert();
  for (int i = 0; i < precision; ++i) {
    const int nibble = i % 2 ? record[2 + i / 2] & 0x0F : record[2 + i / 2] >> 4;
    if (nibble > 9) cannotConvert();
  }
}

AnsiString FmtBcdToText(const std::uint8_t* record) {
  const Decimal d = readDecimal(record);
  AnsiString text = d.negative && !isZero(d) ? "-" : "";
  const std::size_t split = d.digits.size() - static_cast<std::size_t>(d.places);
  text.append(d.digits, 0, split);
  if (d.places > 0) text.append(".").append(d.digits, split);
  return text;
}

double FmtBcdToDouble(const std::uint8_t* record) {
  const AnsiString text = FmtBcdToText(record);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int CompareFmtBcd(const std::uint8_t* a, const std::uint8_t* b) {
  const Decimal x = readDecimal(a), y = readDecimal(b);
  const bool xNegative = x.negative && !isZero(x), yNegative = y.negative && !isZero(y);
  if (xNegative != yNegative) return xNegative ? -1 : 1;
  const int c = compareMagnitude(x, y);
  return xNegative ? -c : c;
}

// ---- texts and byte strings

WideString LoadWideText(const std::byte* at, std::size_t size) {
  WideString text;
  for (std::size_t i = 0; i < size / 2; ++i) {
    const auto unit = load<char16_t>(at + 2 * i);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

std::vector<std::uint8_t> LoadVarBytes(const std::byte* at, std::size_t size) {
  if (size < 2) return {};
  const std::size_t n = std::min<std::size_t>(load<std::uint16_t>(at), size - 2);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(at + 2);
  return std::vector<std::uint8_t>(bytes, bytes + n);
}

// ---- the fixed-size codes

bool IsFixedCode(std::uint16_t code) {
  switch (code) {
    case dcString:
    case dcGuid:
    case dcWideString:
    case dcHeapString:
    case dcHeapVarBytes:
    case dcHeapWideString:
    case dcBlob:
    case dcMemo:
    case dcWideMemo: return false;
    default: return true;
  }
}

void StoreFixed(std::uint16_t code, std::byte* at, int size, unsigned scale, const TFieldValue& value) {
  switch (code) {
    case dcInt8:
    case dcSmallint:
    case dcWord:
    case dcInteger:
    case dcUInt32:
    case dcLargeint: StoreInteger(code, at, ToInteger(value)); break;
    case dcBoolean: StoreInteger(code, at, ToBoolean(value)); break;
    case dcFloat: store(at, RoundToScale(ToDouble(value), scale)); break;
    case dcCurrency: store(at, ToDouble(value)); break;
    case dcBCD: store(at, isInteger(value) ? BcdOf(ToInteger(value)) : BcdOf(ToDouble(value))); break;
    case dcDate:
    case dcTime:
    case dcDateTime: store(at, DateTimeOf(code, value)); break;
    case dcFMTBCD: {
      std::byte record[kBcdSize];
      if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) {
        CheckFmtBcd(bytes->data(), bytes->size());
        std::memcpy(record, bytes->data(), kBcdSize);
      } else if (isInteger(value)) {
        FmtBcdFromInteger(ToInteger(value), record);
      } else if (const auto* d = std::get_if<double>(&value)) {
        FmtBcdFromDouble(*d, record);
      } else {
        FmtBcdFromText(textOfValue(value), record);
      }
      std::memcpy(at, record, std::min<std::size_t>(kBcdSize, static_cast<std::size_t>(size)));
      break;
    }
    case dcVarBytes: {
      const std::vector<std::uint8_t> bytes = ToBytes(value);
      StoreVarBytes(at, static_cast<std::size_t>(size), bytes.data(), bytes.size());
      break;
    }
    default: {
      // dcBytes takes any value as its bytes; the other codes only bytes of their own kind.
      if (code != dcBytes && !std::holds_alternative<std::vector<std::uint8_t>>(value)) cannotConvert();
      const std::vector<std::uint8_t> bytes = ToBytes(value);
      const auto capacity = static_cast<std::size_t>(std::max(size, 0));
      std::memset(at, 0, capacity);
      if (!bytes.empty()) std::memcpy(at, bytes.data(), std::min(bytes.size(), capacity));
      break;
    }
  }
}

TFieldValue LoadFixed(std::uint16_t code, const std::byte* at, int size) {
  // The codes up to 32 bits signed hand on a 32-bit number, the wider ones a 64-bit one.
  if (std::int64_t number = 0; LoadInteger(code, at, number)) {
    if (code == dcUInt32 || code == dcLargeint) return number;
    return static_cast<std::int32_t>(number);
  }
  switch (code) {
    case dcBoolean: return load<std::int16_t>(at) != 0;
    case dcFloat:
    case dcCurrency: return load<double>(at);
    case dcBCD: return static_cast<double>(load<std::int64_t>(at)) / 10000.0;
    case dcDate: {
      const double day = std::floor(load<double>(at)) + kDateDelta;
      if (!(day >= std::numeric_limits<std::int32_t>::min() && day <= std::numeric_limits<std::int32_t>::max()))
        cannotConvert();
      return static_cast<std::int32_t>(day);
    }
    case dcTime: {
      const double d = load<double>(at);
      if (!std::isfinite(d)) cannotConvert();
      return static_cast<std::int32_t>(std::llround((d - std::floor(d)) * kMsPerDay));
    }
    case dcDateTime: {
      const double d = load<double>(at);
      const double days = std::floor(d);
      return (days + kDateDelta) * kMsPerDay + std::round((d - days) * kMsPerDay);
    }
    case dcVarBytes: return LoadVarBytes(at, static_cast<std::size_t>(std::max(size, 0)));
    default: {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(at);
      return std::vector<std::uint8_t>(bytes, bytes + std::max(size, 0));
    }
  }
}

}  // namespace codec
