#pragma once
// The boundary between the program's 8-bit text and Qt's QString.

#include <QString>

#include "platform/text/AnsiText.h"

namespace text {

inline QString toQString(std::string_view ansi) {
  const WideString wide = ansiToWide(ansi);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

// A character without a code page 936 form becomes `replacement`.
inline AnsiString fromQString(const QString& s, std::string_view replacement = "?") {
  return wideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())),
                    replacement);
}

// `s` with every line feed that does not follow a carriage return made a CR LF.
inline QString withCrLf(const QString& s) {
  QString out;
  out.reserve(s.size() + s.size() / 16);
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == QLatin1Char('\n') && (i == 0 || s[i - 1] != QLatin1Char('\r'))) out += QLatin1Char('\r');
    out += s[i];
  }
  return out;
}

}  // namespace text
