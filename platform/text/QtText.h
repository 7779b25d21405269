#pragma once
// The boundary between the program's 8-bit text and Qt's QString.

#include <QString>

#include "platform/text/AnsiText.h"

namespace text {

inline QString toQString(std::string_view ansi) {
  const WideString wide = ansiToWide(ansi);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

inline AnsiString fromQString(const QString& s) {
  return wideToAnsi(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())));
}

}  // namespace text
