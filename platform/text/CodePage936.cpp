// Code page 936 <-> UTF-16 through two tables built once from glibc's iconv, so that every
// later conversion is a table lookup with no iconv state to get wrong.

#include "platform/text/AnsiText.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace text {
namespace {

constexpr char16_t kReplacementChar = 0xFFFD;
constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;
constexpr unsigned kTrailCount = kLastTrail - kFirstTrail + 1;

struct Tables {
  // UTF-16 unit of each double-byte pair; 0 where the pair is undefined.
  std::array<char16_t, (kLastLead - kFirstLead + 1) * kTrailCount> pairToWide{};
  // UTF-16 of the single bytes 0x80..0xFF; 0 where undefined.
  std::array<char16_t, 0x80> highByteToWide{};
  // Code page bytes of each BMP unit: 0 = unmapped, < 0x100 one byte, else lead << 8 | trail.
  std::array<std::uint16_t, 0x10000> wideToCode{};
};

class Iconv {
 public:
  Iconv() : handle_(iconv_open("UTF-16LE", "CP936")) {
    if (handle_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv has no CP936 converter");
  }
  ~Iconv() { iconv_close(handle_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // The one UTF-16 unit that `bytes` decodes to, or 0 when they are not one BMP character.
  char16_t decode(const char* bytes, std::size_t count) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char in[2] = {bytes[0], count > 1 ? bytes[1] : '\0'};
    unsigned char out[8];
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = count, outLeft = sizeof out;
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    if (inLeft != 0 || sizeof out - outLeft != 2) return 0;
    return static_cast<char16_t>(out[0] | out[1] << 8);
  }

 private:
  iconv_t handle_;
};

std::unique_ptr<Tables> buildTables() {
  auto tables = std::make_unique<Tables>();
  Iconv conv;
  for (unsigned byte = 0; byte < 0x80; ++byte) tables->wideToCode[byte] = static_cast<std::uint16_t>(byte);
  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    const char in = static_cast<char>(byte);
    const char16_t wide = conv.decode(&in, 1);
    tables->highByteToWide[byte - 0x80] = wide;
    if (wide != 0 && tables->wideToCode[wide] == 0) tables->wideToCode[wide] = static_cast<std::uint16_t>(byte);
  }
  for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead) {
    for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      if (trail == 0x7F) continue;
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const char16_t wide = conv.decode(in, 2);
      if (wide == 0) continue;
      tables->pairToWide[(lead - kFirstLead) * kTrailCount + (trail - kFirstTrail)] = wide;
      // The first pair wins where the code page maps two pairs to one character.
      if (tables->wideToCode[wide] == 0) tables->wideToCode[wide] = static_cast<std::uint16_t>(lead << 8 | trail);
    }
  }
  return tables;
}

const Tables& tables() {
  static const std::unique_ptr<Tables> instance = buildTables();
  return *instance;
}

char16_t pairToWide(const Tables& t, unsigned char lead, unsigned char trail) {
  if (trail < kFirstTrail || trail > kLastTrail) return 0;
  return t.pairToWide[(lead - kFirstLead) * kTrailCount + (trail - kFirstTrail)];
}

}  // namespace

WideString ansiToWide(std::string_view ansi) {
  const Tables& t = tables();
  WideString wide;
  wide.reserve(ansi.size());
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (byte < 0x80) {
      wide.push_back(byte);
    } else if (!isLeadByte(byte)) {
      const char16_t mapped = t.highByteToWide[byte - 0x80];
      wide.push_back(mapped ? mapped : kReplacementChar);
    } else if (i + 1 < ansi.size()) {
      const char16_t mapped = pairToWide(t, byte, static_cast<unsigned char>(ansi[i + 1]));
      if (mapped) {
        wide.push_back(mapped);
        ++i;
      } else {
        // Only the lead byte is consumed: its follower may start a valid character itself.
        wide.push_back(kReplacementChar);
      }
    } else {
      wide.push_back(kReplacementChar);
    }
  }
  return wide;
}

AnsiString wideToAnsi(std::u16string_view wide, std::string_view replacement, std::size_t* replaced) {
  const Tables& t = tables();
  AnsiString ansi;
  ansi.reserve(wide.size() * 2);
  std::size_t misses = 0;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    const std::uint16_t code = unit == 0 ? 0 : t.wideToCode[unit];
    if (unit == 0) {
      ansi.push_back('\0');
    } else if (code == 0) {
      // A surrogate pair is one character outside the code page, replaced once.
      if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF)
        ++i;
      ansi.append(replacement);
      ++misses;
    } else if (code < 0x100) {
      ansi.push_back(static_cast<char>(code));
    } else {
      ansi.push_back(static_cast<char>(code >> 8));
      ansi.push_back(static_cast<char>(code & 0xFF));
    }
  }
  if (replaced) *replaced += misses;
  return ansi;
}

namespace {

AnsiString shiftAsciiCase(std::string_view s, unsigned char from, int shift) {
  AnsiString out(s);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (isLeadByte(c))
      ++i;
    else if (c >= from && c < from + 26)
      out[i] = static_cast<char>(c + shift);
  }
  return out;
}

}  // namespace

AnsiString upperAscii(std::string_view s) { return shiftAsciiCase(s, 'a', -32); }
AnsiString lowerAscii(std::string_view s) { return shiftAsciiCase(s, 'A', 32); }

std::size_t findText(std::string_view s, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= s.size(); i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1)
    if (s.compare(i, part.size(), part) == 0) return i;
  return std::string_view::npos;
}

bool isValidAnsi(std::string_view ansi) {
  const Tables& t = tables();
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (byte < 0x80) continue;
    if (!isLeadByte(byte)) {
      if (t.highByteToWide[byte - 0x80] == 0) return false;
      continue;
    }
    if (i + 1 >= ansi.size() || pairToWide(t, byte, static_cast<unsigned char>(ansi[i + 1])) == 0) return false;
    ++i;
  }
  return true;
}

}  // namespace text
