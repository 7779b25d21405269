#include "tools/pinyin/UnihanReadings.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "platform/text/CodePoints.h"

namespace pinyin {
namespace {

// The compatibility ideographs (郎 U+F92C) are the same character as their variant.
constexpr std::array<std::string_view, 5> kVariantFields = {"kCompatibilityVariant", "kZVariant", "kSimplifiedVariant",
                                                            "kSemanticVariant", "kTraditionalVariant"};

struct Line {
  char32_t Character;
  std::string_view Field;
  std::string_view Value;
};

std::optional<char32_t> codePoint(std::string_view text) {
  if (text.size() < 6 || text.size() > 7 || !text.starts_with("U+")) return std::nullopt;
  char32_t c = 0;
  for (const char h : text.substr(2)) {
    const int digit = h >= '0' && h <= '9' ? h - '0' : h >= 'A' && h <= 'F' ? h - 'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    c = c * 16 + static_cast<char32_t>(digit);
  }
  return c <= 0x10FFFF ? std::optional(c) : std::nullopt;
}

// Calls `each` for every data line of a Unihan file: "U+XXXX TAB field TAB value".
template <typename Each>
void readUnihan(const std::filesystem::path& file, Each each) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  std::string text;
  for (std::size_t number = 1; std::getline(in, text); ++number) {
    if (text.empty() || text[0] == '#') continue;
    const std::string_view line(text);
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    const std::optional<char32_t> c = tab1 == std::string_view::npos ? std::nullopt : codePoint(line.substr(0, tab1));
    if (!c || tab2 == std::string_view::npos)
      throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": not a line of a Unihan file");
    each(Line{*c, line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
  }
  if (in.bad()) throw std::runtime_error(file.string() + ": cannot be read");
}

// "U+7B54<kLau,kMeyerWempe U+5308" -> the code points, their sources dropped.
std::vector<char32_t> variantsOf(std::string_view value) {
  std::vector<char32_t> out;
  while (!value.empty()) {
    const std::size_t end = std::min(value.find(' '), value.size());
    const std::string_view item = value.substr(0, end);
    if (const std::optional<char32_t> c = codePoint(item.substr(0, item.find('<')))) out.push_back(*c);
    value.remove_prefix(std::min(end + 1, value.size()));
  }
  return out;
}

}  // namespace

void AddUnihanReadings(std::vector<text::PinyinEntry>& entries, const std::vector<std::filesystem::path>& variants,
                       const std::filesystem::path& readings,
                       const std::function<std::string(const std::string&)>& simplify) {
  std::unordered_map<char32_t, std::string> known;
  double rarest = 1;
  for (const text::PinyinEntry& e : entries) {
    rarest = std::min(rarest, e.Rate);
    if (const std::u32string word = text::utf8ToCodePoints(e.Word); word.size() == 1) known.emplace(word[0], e.Reading);
  }
  const auto readingOf = [&](char32_t c) -> const std::string* {
    if (const auto found = known.find(c); found != known.end()) return &found->second;
    const std::u32string simplified = text::utf8ToCodePoints(simplify(text::codePointsToUtf8(std::u32string(1, c))));
    if (simplified.size() != 1) return nullptr;
    const auto found = known.find(simplified[0]);
    return found == known.end() ? nullptr : &found->second;
  };

  std::map<char32_t, std::array<std::vector<char32_t>, kVariantFields.size()>> variantsByCharacter;
  for (const std::filesystem::path& file : variants)
    readUnihan(file, [&](const Line& line) {
      const auto field = std::find(kVariantFields.begin(), kVariantFields.end(), line.Field);
      if (field != kVariantFields.end() && !known.contains(line.Character))
        variantsByCharacter[line.Character][field - kVariantFields.begin()] = variantsOf(line.Value);
    });

  std::map<char32_t, std::string> mandarin;
  readUnihan(readings, [&](const Line& line) {
    if (line.Field == "kMandarin" && !known.contains(line.Character))
      mandarin.emplace(line.Character, line.Value.substr(0, line.Value.find(' ')));
  });

  const auto variantReading = [&](char32_t c) -> const std::string* {
    const auto found = variantsByCharacter.find(c);
    if (found == variantsByCharacter.end()) return nullptr;
    for (const std::vector<char32_t>& ofField : found->second)
      for (const char32_t variant : ofField)
        if (const std::string* reading = readingOf(variant)) return reading;
    return nullptr;
  };
  std::map<char32_t, std::string> added;
  for (const auto& [c, ofFields] : variantsByCharacter)
    if (const std::string* reading = variantReading(c)) added.emplace(c, *reading);
  for (auto& [c, reading] : mandarin) added.emplace(c, std::move(reading));
  for (auto& [c, reading] : added) entries.push_back({text::codePointsToUtf8(std::u32string(1, c)), reading, rarest});
}

}  // namespace pinyin
