#pragma once
// The text of a skin description, 8-bit, as the skin reads it:
//
// - Lines end at CR, LF or CR LF and are trimmed; empty lines and lines whose first character
//   is ";" are dropped.
// - A line that begins with "[" and ends with "]" starts a section; the name between them is
//   trimmed.
// - Every other line is a key line: the key is the text before the first "=", the value the text
//   after it, both trimmed. A line without "=" has an empty key (and the whole line for value).
// - Section names and keys match without regard to the case of ASCII letters. A key is read from
//   the first section of that name only, and from its first line with that key; an empty value
//   counts as absent.

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text/AnsiText.h"

// A colour as 0x00BBGGRR.
using TColorRef = std::uint32_t;

constexpr TColorRef SkinRGB(int red, int green, int blue) {
  return static_cast<TColorRef>(red) | static_cast<TColorRef>(green) << 8 | static_cast<TColorRef>(blue) << 16;
}

inline constexpr TColorRef kSkinWhite = SkinRGB(255, 255, 255);

// A whole integer: decimal, or hexadecimal after "0x" or "0X", either with a sign in front;
// nothing for any other text or for a value outside 32 bits.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text);

// Up to three decimal numbers for red, green and blue, separated by any characters that are not
// digits; a missing number is 0, a number above 255 is 255, numbers after the third are ignored.
TColorRef ParseSkinColour(std::string_view text);

class TSkinIni {
 public:
  explicit TSkinIni(std::string_view text);

  // Every section name once, spelt as its first header spells it, in order of first appearance.
  const std::vector<AnsiString>& Sections() const { return names_; }
  bool HasSection(std::string_view section) const;

  std::optional<std::string_view> Value(std::string_view section, std::string_view key) const;

  AnsiString ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // `fallback` also for a value that is not an integer.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  std::optional<TColorRef> ReadColour(std::string_view section, std::string_view key) const;
  TColorRef ReadColour(std::string_view section, std::string_view key, TColorRef fallback) const {
    return ReadColour(section, key).value_or(fallback);
  }

 private:
  struct TKeyLine {
    AnsiString Key;  // upper case
    AnsiString Value;
  };

  const std::vector<TKeyLine>* Lines(std::string_view section) const;

  std::vector<AnsiString> names_;
  std::vector<std::vector<TKeyLine>> sections_;          // one per name, from its first header
  std::unordered_map<AnsiString, std::size_t> byName_;  // upper-case name -> index
};
