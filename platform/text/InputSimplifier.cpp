#include "platform/text/InputSimplifier.h"

#include <cstdio>
#include <exception>

#include "platform/text/AnsiText.h"
#include "platform/text/Simplifier.h"

namespace text {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// GB2312's rows of symbols (0xA1..0xA9) and of characters (0xB0..0xF7), each with 94 cells.
bool inGb2312(std::string_view ansi) {
  if (ansi.size() != 2) return false;
  const auto lead = static_cast<unsigned char>(ansi[0]), trail = static_cast<unsigned char>(ansi[1]);
  return ((lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7)) && trail >= 0xA1 && trail <= 0xFE;
}

// A character that only a conversion could make simplified: code page 936 holds it outside
// GB2312. Characters the code page lacks are left to whatever they find, as they always were.
bool mayBeTraditional(std::u16string_view character) {
  if (character.size() == 1 && character[0] < 0x80) return false;
  std::size_t missing = 0;
  const AnsiString ansi = wideToAnsi(character, "?", &missing);
  return missing == 0 && !inGb2312(ansi);
}

}  // namespace

InputSimplifier::InputSimplifier() = default;
InputSimplifier::~InputSimplifier() = default;

const Simplifier* InputSimplifier::simplifier() const {
  if (!simplifier_ && !unavailable_) {
    try {
      simplifier_ = std::make_unique<Simplifier>();
    } catch (const std::exception& error) {
      // Searching goes on without it: traditional characters are then searched as typed.
      unavailable_ = true;
      std::fprintf(stderr, "%s; traditional characters are searched as typed\n", error.what());
    }
  }
  return simplifier_.get();
}

std::string InputSimplifier::operator()(std::string_view utf8) const {
  const WideString wide = utf8ToWide(utf8);
  for (std::size_t i = 0; i < wide.size();) {
    const std::size_t size = isHighSurrogate(wide[i]) && i + 1 < wide.size() ? 2 : 1;
    const std::u16string_view character = std::u16string_view(wide).substr(i, size);
    i += size;
    if (!mayBeTraditional(character)) continue;
    const Simplifier* simplify = simplifier();
    if (!simplify) break;
    const std::string one = wideToUtf8(character);
    // Converted whole, so that the conversion's phrases see the characters around it, as the
    // builder's did; OpenCC is only ever given well-formed text.
    if ((*simplify)(one) != one) return (*simplify)(wideToUtf8(wide));
  }
  return std::string(utf8);
}

}  // namespace text
