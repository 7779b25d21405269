#include "skin/SkinIni.h"

#include <limits>

#include "skin/SkinLines.h"

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseSkinInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  // Magnitudes beyond 2^31 stop counting; the range test below refuses them.
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (const char c : text) {
    const int digit = base == 16 ? HexDigit(c) : (IsDigit(c) ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    if (magnitude <= kLimit) magnitude = magnitude * base + digit;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(value);
}

TColorRef ParseSkinColour(std::string_view text) {
  int parts[3] = {0, 0, 0};
  int found = 0;
  std::size_t i = 0;
  while (found < 3 && i < text.size()) {
    if (!IsDigit(text[i])) {
      ++i;
      continue;
    }
    int value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (value <= 255) value = value * 10 + (text[i] - '0');
    parts[found++] = value > 255 ? 255 : value;
  }
  return SkinRGB(parts[0], parts[1], parts[2]);
}

TSkinIni::TSkinIni(std::string_view text) {
  // Lines before the first header, and after a later header of a name already seen, are never
  // read.
  std::vector<TKeyLine>* current = nullptr;
  for (const std::string_view untrimmed : SplitSkinLines(text)) {
    const std::string_view line = text::trimmed(untrimmed);
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = text::trimmed(line.substr(1, line.size() - 2));
      const bool added = byName_.try_emplace(text::upperAscii(name), sections_.size()).second;
      current = nullptr;
      if (added) {
        names_.emplace_back(name);
        current = &sections_.emplace_back();
      }
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      current->push_back({AnsiString(), AnsiString(line)});
    else
      current->push_back({text::upperAscii(text::trimmed(line.substr(0, equals))),
                          AnsiString(text::trimmed(line.substr(equals + 1)))});
  }
}

const std::vector<TSkinIni::TKeyLine>* TSkinIni::Lines(std::string_view section) const {
  const auto found = byName_.find(text::upperAscii(section));
  return found == byName_.end() ? nullptr : &sections_[found->second];
}

bool TSkinIni::HasSection(std::string_view section) const { return Lines(section) != nullptr; }

std::optional<std::string_view> TSkinIni::Value(std::string_view section, std::string_view key) const {
  const std::vector<TKeyLine>* lines = Lines(section);
  if (!lines) return std::nullopt;
  const AnsiString wanted = text::upperAscii(key);
  for (const TKeyLine& line : *lines)
    if (line.Key == wanted) {
      if (line.Value.empty()) return std::nullopt;
      return std::string_view(line.Value);
    }
  return std::nullopt;
}

AnsiString TSkinIni::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  return AnsiString(Value(section, key).value_or(fallback));
}

std::int32_t TSkinIni::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const auto value = Value(section, key);
  return value ? ParseSkinInteger(*value).value_or(fallback) : fallback;
}

std::optional<TColorRef> TSkinIni::ReadColour(std::string_view section, std::string_view key) const {
  const auto value = Value(section, key);
  if (!value) return std::nullopt;
  return ParseSkinColour(*value);
}
