#pragma once
// 8-bit text in code page 936 (GBK), UTF-16 and UTF-8, and the conversions between them.
//
// Every conversion accepts any bytes: malformed input becomes U+FFFD (or the replacement
// byte on the way back to 8-bit) and is never read past its end.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

using AnsiString = std::string;     // code page 936 bytes
using WideString = std::u16string;  // UTF-16 code units

namespace text {

inline constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

// True for a byte that starts a double-byte character (0x81..0xFE).
constexpr bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// 8-bit -> UTF-16. An undefined double-byte pair, a lone lead byte at the end and the
// undefined single byte 0xFF each become one U+FFFD.
WideString ansiToWide(std::string_view ansi);

// UTF-16 -> 8-bit. A character the code page lacks becomes `replacement` (which must itself
// be valid code page 936 text); `replaced`, when given, counts those characters.
AnsiString wideToAnsi(std::u16string_view wide, std::string_view replacement = "?",
                      std::size_t* replaced = nullptr);

// UTF-16 -> UTF-8, at most `maxBytes` bytes. A character that does not fit whole is left out
// (never a cut multi-byte sequence at the end); a high surrogate ending the input is dropped;
// any other unpaired surrogate becomes U+FFFD.
std::string wideToUtf8(std::u16string_view wide, std::size_t maxBytes = kNoLimit);

// UTF-8 -> UTF-16, at most `maxUnits` units. A sequence cut off at the end of the input is
// dropped, and so is a supplementary character whose surrogate pair would not fit whole;
// other malformed sequences (overlong forms, encoded surrogates, stray continuation bytes,
// values past U+10FFFF) become U+FFFD.
WideString utf8ToWide(std::string_view utf8, std::size_t maxUnits = kNoLimit);

// One character of well-formed UTF-8 at `pos`, which then moves past it; nothing, and `pos` where
// it was, for a malformed or cut-off sequence. Stricter than the conversions, which mend text as
// they go: for input that must be clean UTF-8 or is damaged.
std::optional<char32_t> strictUtf8Character(std::string_view s, std::size_t& pos);

inline std::string ansiToUtf8(std::string_view ansi) { return wideToUtf8(ansiToWide(ansi)); }
inline AnsiString utf8ToAnsi(std::string_view utf8, std::string_view replacement = "?",
                             std::size_t* replaced = nullptr) {
  return wideToAnsi(utf8ToWide(utf8), replacement, replaced);
}

// `s` without its leading and trailing characters of code 32 or below (blanks, line breaks,
// control characters), as input and option texts are taken.
inline std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// ASCII letters upper-cased; the second byte of a double-byte character is left alone even
// where it looks like a letter.
AnsiString upperAscii(std::string_view s);
AnsiString lowerAscii(std::string_view s);

// Where `part` first occurs in `s` as whole characters: a match may only start where a
// character of `s` starts, never on the second byte of a double-byte character (the trail byte
// of 璠 is "["). npos when there is none; 0 for an empty `part`.
std::size_t findText(std::string_view s, std::string_view part);

// True when every byte sequence is a defined code page 936 character.
bool isValidAnsi(std::string_view ansi);

// The code page's double-byte replacement mark, "〓" (0xA1 0xFE).
inline constexpr std::string_view kGetaMark = "\xA1\xFE";

}  // namespace text

namespace text::detail {
template <std::size_t N>
struct Utf8Literal {
  char bytes[N];
  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
};
}  // namespace text::detail

// "床前明月光"_gbk: a UTF-8 source literal as code page 936 text, converted once per literal.
template <text::detail::Utf8Literal L>
const AnsiString& operator""_gbk() {
  static const AnsiString converted = text::utf8ToAnsi(L.view());
  return converted;
}
