#include "platform/text/PinyinSyllable.h"

#include "platform/text/CodePoints.h"

namespace text {

std::string Toneless(std::string_view syllable) {
  static constexpr std::u32string_view kMarked = U"āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜńňǹḿ";
  static constexpr std::u32string_view kBare = U"aaaaeeeeiiiioooouuuuüüüünnnm";
  std::u32string letters = utf8ToCodePoints(syllable);
  for (char32_t& c : letters)
    if (const std::size_t at = kMarked.find(c); at != std::u32string_view::npos) c = kBare[at];
  return codePointsToUtf8(letters);
}

}  // namespace text
