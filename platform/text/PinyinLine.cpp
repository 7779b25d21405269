#include "platform/text/PinyinLine.h"

#include "platform/text/CodePoints.h"

namespace text {
namespace {

bool isChinese(char32_t c) {
  return c == U'〇' || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0x20000 && c <= 0x323AF);
}

bool isAsciiWordCharacter(char32_t c) { return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

}  // namespace

std::string PinyinLine(const PinyinReader& reader, std::string_view utf8) {
  const std::u32string text = utf8ToCodePoints(utf8);
  const std::vector<std::string> readings = reader.Readings(text);
  enum class Kind { Syllable, Word, Other };
  std::string line;
  Kind previous = Kind::Other;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Kind kind = !readings[i].empty() || isChinese(text[i]) ? Kind::Syllable
                      : isAsciiWordCharacter(text[i])           ? Kind::Word
                                                                : Kind::Other;
    if (kind != Kind::Other && previous != Kind::Other && (kind == Kind::Syllable || previous == Kind::Syllable))
      line += ' ';
    line += readings[i].empty() ? codePointsToUtf8(std::u32string_view(text).substr(i, 1)) : readings[i];
    previous = kind;
  }
  return line;
}

}  // namespace text
