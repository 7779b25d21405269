// UTF-16 <-> UTF-8 with bounded output that never ends in half a character.

#include "platform/text/AnsiText.h"

#include <algorithm>
#include <optional>

namespace text {
namespace {

constexpr char32_t kReplacementChar = 0xFFFD;

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::size_t utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Outcome of decoding one UTF-8 sequence.
struct Decoded {
  char32_t value;          // the character, or U+FFFD for a malformed sequence
  std::size_t size;        // bytes consumed; at least 1
  bool truncated;          // the sequence was cut off by the end of the input
  bool malformed = false;  // value stands for a sequence that is no character
};

Decoded decodeUtf8(std::string_view in, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(in[pos]);
  if (lead < 0x80) return {lead, 1, false};
  std::size_t need;
  char32_t value;
  char32_t minimum;
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1, value = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2, value = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3, value = lead & 0x07, minimum = 0x10000;
  } else {
    return {kReplacementChar, 1, false, true};
  }
  std::size_t i = 1;
  for (; i <= need; ++i) {
    if (pos + i >= in.size()) return {kReplacementChar, i, true, true};
    const auto next = static_cast<unsigned char>(in[pos + i]);
    if ((next & 0xC0) != 0x80) return {kReplacementChar, i, false, true};
    value = value << 6 | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return {kReplacementChar, i, false, true};
  return {value, i, false};
}

}  // namespace

std::string wideToUtf8(std::u16string_view wide, std::size_t maxBytes) {
  std::string out;
  out.reserve(std::min(wide.size() * 3, maxBytes));
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (isHighSurrogate(c)) {
      if (i + 1 == wide.size()) break;  // the other half never came: drop, never cut
      if (isLowSurrogate(wide[i + 1])) {
        c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
        ++i;
      } else {
        c = kReplacementChar;
      }
    } else if (isLowSurrogate(c)) {
      c = kReplacementChar;
    }
    if (out.size() + utf8Length(c) > maxBytes) break;
    appendUtf8(out, c);
  }
  return out;
}

WideString utf8ToWide(std::string_view utf8, std::size_t maxUnits) {
  WideString out;
  out.reserve(std::min(utf8.size(), maxUnits));
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Decoded d = decodeUtf8(utf8, pos);
    if (d.truncated) break;
    pos += d.size;
    if (d.value >= 0x10000) {
      if (out.size() + 2 > maxUnits) break;
      const char32_t v = d.value - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      if (out.size() + 1 > maxUnits) break;
      out.push_back(static_cast<char16_t>(d.value));
    }
  }
  return out;
}

std::optional<char32_t> strictUtf8Character(std::string_view s, std::size_t& pos) {
  if (pos >= s.size()) return std::nullopt;
  const Decoded d = decodeUtf8(s, pos);
  if (d.malformed) return std::nullopt;
  pos += d.size;
  return d.value;
}

}  // namespace text
