#include "platform/text/CodePoints.h"

#include "platform/text/AnsiText.h"

namespace text {

std::u32string utf8ToCodePoints(std::string_view utf8) {
  const std::u16string wide = utf8ToWide(utf8);
  std::u32string out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    // utf8ToWide writes surrogates only as whole pairs.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size()) {
      out.push_back(0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (wide[i + 1] - 0xDC00));
      ++i;
    } else {
      out.push_back(unit);
    }
  }
  return out;
}

std::string codePointsToUtf8(std::u32string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (const char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      wide.push_back(c > 0x10FFFF ? u'\uFFFD' : static_cast<char16_t>(c));
    }
  }
  return wideToUtf8(wide);
}

}  // namespace text
