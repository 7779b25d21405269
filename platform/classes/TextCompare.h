#pragma once
// Case-insensitive comparison of code page 936 text, as names and list lines are compared.
// Only ASCII letters fold: the trail byte of a double-byte character can fall in the ASCII
// letter range and must keep its value.

#include <string_view>

namespace classes {

// A byte that completes a double-byte character when it follows a lead byte.
constexpr bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// < 0, 0 or > 0 as `a` sorts before, with or after `b` once ASCII letters are lower case.
int compareText(std::string_view a, std::string_view b);

inline bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && compareText(a, b) == 0;
}

}  // namespace classes
