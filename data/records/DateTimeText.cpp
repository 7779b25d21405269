#include "data/records/DateTimeText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

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

// The numbers of `text` in order, split at any non-digit.
std::vector<int> numbers(const AnsiString& text) {
  std::vector<int> out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      ++i;
      continue;
    }
    int n = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 100000000) n = n * 10 + (text[i++] - '0');
    out.push_back(n);
  }
  return out;
}

// Where year, month and day stand in a date format ("yyyy-mm-dd" gives 0, 1, 2).
void dateOrder(const AnsiString& format, int& year, int& month, int& day) {
  int position = 0;
  year = month = day = -1;
  for (std::size_t i = 0; i < format.size();) {
    const char c = static_cast<char>(format[i] | 0x20);
    std::size_t run = 1;
    while (i + run < format.size() && static_cast<char>(format[i + run] | 0x20) == c) ++run;
    if (c == 'y') year = position++;
    else if (c == 'm') month = position++;
    else if (c == 'd') day = position++;
    i += run;
  }
}

}  // namespace

double EncodeDate(int year, int month, int day) {
  return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixDay);
}

void DecodeDate(double dateTime, int& year, int& month, int& day) {
  civilFromDays(static_cast<long>(std::floor(dateTime)) - kUnixDay, year, month, day);
}

AnsiString FormatDateTime(const AnsiString& format, double dateTime) {
  int year, month, day;
  DecodeDate(dateTime, year, month, day);
  const long ms = std::lround((dateTime - std::floor(dateTime)) * 86400000.0);
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
    const std::vector<int> parts = numbers(datePart);
    int y, m, d;
    dateOrder(dateFormat, y, m, d);
    if (parts.size() != 3 || y < 0 || m < 0 || d < 0) return false;
    const int year = parts[static_cast<std::size_t>(y)], month = parts[static_cast<std::size_t>(m)],
              day = parts[static_cast<std::size_t>(d)];
    if (month < 1 || month > 12 || day < 1 || day > 31) return false;
    result = EncodeDate(year, month, day);
  }
  if (!timePart.empty()) {
    const std::vector<int> parts = numbers(timePart);
    if (parts.size() < 2 || parts.size() > 4 || parts[0] > 23 || parts[1] > 59 || (parts.size() > 2 && parts[2] > 59))
      return false;
    const double ms = parts[0] * 3600000.0 + parts[1] * 60000.0 + (parts.size() > 2 ? parts[2] * 1000.0 : 0) +
                      (parts.size() > 3 ? parts[3] : 0);
    result += ms / 86400000.0;
  }
  dateTime = result;
  return !datePart.empty() || !timePart.empty();
}
