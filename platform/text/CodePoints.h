#pragma once
// Text as Unicode code points, one element a character, read and written through the UTF-8 and
// UTF-16 conversions of AnsiText.h: a malformed UTF-8 sequence is one U+FFFD.

#include <string>
#include <string_view>

namespace text {

std::u32string utf8ToCodePoints(std::string_view utf8);
std::string codePointsToUtf8(std::u32string_view text);

}  // namespace text
