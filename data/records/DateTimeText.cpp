#include "data/records/DateTimeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/records/ValueCodec.h"
#include "platform/classes/Exceptions.h"

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
long daysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<long>(yoe) + era * 400 + (m <= 2));
}

// 1899-12-30 is 25569 days before 1970-01-01.
constexpr long kUnixDay = 25569;

// Day numbers of 0001-01-01 and of the day after 9999-12-31: the dates a date text may give
// and the record buffer's day numbers can hold.
constexpr double kFirstDate = -693593, kPastLastDate = 2958466;
constexpr int kMaxYear = 9999;

// Larger numbers are never valid parts of a date or time, so every longer run of digits reads
// as this one.
constexpr long long kNumberCap = 1000000000;

// The numbers of `text` in order, split at any non-digit.
std::vector<long long> numbers(const AnsiString& text) {
  std::vector<long long> out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) n = std::min(n * 10 + (text[i] - '0'), kNumberCap);
    out.push_back(n);
  }
  return out;
}

bool isComponent(char c) {
  switch (c) {
    case 'y': case 'm': case 'd': case 'h': case 'n': case 's': case 'z': return true;
    default: return false;
  }
}

// Calls `run(letter, length)` for each run of one letter (case ignored) or other character.
template <class Run>
void forEachRun(const AnsiString& format, Run&& run) {
  for (std::size_t i = 0; i < format.size();) {
    const char c = static_cast<char>(format[i] | 0x20);
    std::size_t length = 1;
    while (i + length < format.size() && static_cast<char>(format[i + length] | 0x20) == c) ++length;
    run(c, length);
    i += length;
  }
}

// Where year, month and day stand in a date format ("yyyy-mm-dd" gives 0, 1, 2); false when
// the format lacks one of them or is no valid format.
bool dateOrder(const AnsiString& format, int& year, int& month, int& day) {
  if (!IsValidDateTimeFormat(format)) return false;
  int position = 0;
  year = month = day = -1;
  forEachRun(format, [&](char c, std::size_t) {
    if (c == 'y') year = position++;
    else if (c == 'm') month = position++;
    else if (c == 'd') day = position++;
  });
  return year >= 0 && month >= 0 && day >= 0;
}

bool isLeapYear(long long year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

long long daysInMonth(long long year, long long month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

void checkDateRange(double dateTime) {
  if (!(dateTime >= kFirstDate && dateTime < kPastLastDate)) throw EConvertError("Date value out of range");
}

}  // namespace

bool IsValidDateTimeFormat(const AnsiString& format) {
  bool seen[26] = {};
  bool valid = true;
  forEachRun(format, [&](char c, std::size_t) {
    if (!isComponent(c)) return;
    bool& once = seen[c - 'a'];
    valid = valid && !once;
    once = true;
  });
  return valid;
}

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixDay);
}

void DecodeDate(double dateTime, int& year, int& month, int& day) {
  checkDateRange(dateTime);
  civilFromDays(static_cast<long>(std::floor(dateTime)) - kUnixDay, year, month, day);
}

AnsiString FormatDateTime(const AnsiString& format, double dateTime) {
  checkDateRange(dateTime);
  double date = std::floor(dateTime);
  constexpr long msPerDay = static_cast<long>(codec::kMsPerDay);
  long ms = std::lround((dateTime - date) * codec::kMsPerDay);
  // A time a hair before midnight rounds to the next day, not to 24:00:00.
  if (ms >= msPerDay) {
    ms -= msPerDay;
    date += 1;
  }
  int year, month, day;
  DecodeDate(date, year, month, day);
  const int hour = static_cast<int>(ms / 3600000), minute = static_cast<int>(ms / 60000 % 60),
            second = static_cast<int>(ms / 1000 % 60), milli = static_cast<int>(ms % 1000);
  AnsiString out;
  char number[16];
  for (std::size_t i = 0; i < format.size();) {
    const char c = static_cast<char>(format[i] | 0x20);
    std::size_t run = 1;
    while (i + run < format.size() && static_cast<char>(format[i + run] | 0x20) == c) ++run;
    int value = -1, width = run >= 2 ? 2 : 1;
    switch (c) {
      case 'y': value = run >= 4 ? year : year % 100; width = run >= 4 ? 4 : 2; break;
      case 'm': value = month; break;
      case 'd': value = day; break;
      case 'h': value = hour; break;
      case 'n': value = minute; break;
      case 's': value = second; break;
      case 'z': value = milli; width = 3; break;
      default: break;
    }
    if (value < 0) {
      out.append(format, i, run);
    } else {
      std::snprintf(number, sizeof number, "%0*d", width, value);
      out += number;
    }
    i += run;
  }
  return out;
}

bool ParseDateTime(const AnsiString& text, const AnsiString& dateFormat, char dateSeparator, char timeSeparator,
                   double& dateTime) {
  const AnsiString trimmed(text::trimmed(text));
  const auto blank = trimmed.find(' ');
  AnsiString datePart = trimmed, timePart;
  if (blank != AnsiString::npos) {
    datePart = trimmed.substr(0, blank);
    timePart = AnsiString(text::trimmed(std::string_view(trimmed).substr(blank)));
  } else if (trimmed.find(timeSeparator) != AnsiString::npos && trimmed.find(dateSeparator) == AnsiString::npos) {
    datePart.clear();
    timePart = trimmed;
  }
  double result = 0;
  if (!datePart.empty()) {
    const std::vector<long long> parts = numbers(datePart);
    int y, m, d;
    if (!dateOrder(dateFormat, y, m, d) || parts.size() != 3) return false;
    const long long year = parts[static_cast<std::size_t>(y)], month = parts[static_cast<std::size_t>(m)],
                    day = parts[static_cast<std::size_t>(d)];
    if (year < 1 || year > kMaxYear || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
      return false;
    result = EncodeDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
  }
  if (!timePart.empty()) {
    const std::vector<long long> parts = numbers(timePart);
    if (parts.size() < 2 || parts.size() > 4 || parts[0] > 23 || parts[1] > 59 || (parts.size() > 2 && parts[2] > 59) ||
        (parts.size() > 3 && parts[3] > 999))
      return false;
    const double ms = static_cast<double>(parts[0] * 3600000 + parts[1] * 60000 + (parts.size() > 2 ? parts[2] * 1000 : 0) +
                                          (parts.size() > 3 ? parts[3] : 0));
    result += ms / codec::kMsPerDay;
  }
  dateTime = result;
  return !datePart.empty() || !timePart.empty();
}
