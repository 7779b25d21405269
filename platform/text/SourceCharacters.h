#pragma once
// The collection stores text in code page 936, which lacks some characters: those are stored as
// "〓" (U+3013). The source's own text, kept in Unicode beside it, still has them. Where a line of
// the stored text and the same line of the source have as many characters, the character at a
// "〓" is the source's character at the same place; elsewhere the mark stays.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

inline constexpr char32_t kMissingMark = U'\u3013';

struct Restored {
  std::u32string Text;
  std::size_t Left = 0;  // marks that stay, the source having no character for them
};

// `stored` and `source` are split into lines at LF (a CR before it belongs to no line).
Restored RestoreFromSource(std::u32string_view stored, std::u32string_view source);

}  // namespace text
