#include "tools/pinyin/PinyinPackage.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

#include "platform/text/CodePoints.h"

namespace pinyin {
namespace {

nlohmann::json readJson(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  try {
    return nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    throw std::runtime_error(file.string() + ": " + e.what());
  }
}

std::vector<std::string> syllables(const std::string& reading) {
  std::vector<std::string> out;
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(reading.find(' ', start), reading.size());
    out.push_back(reading.substr(start, end - start));
    if (end == reading.size()) return out;
    start = end + 1;
  }
}

// Characters that only occur inside longer words, with the reading those words give them most.
void addCharactersOfWords(std::vector<text::PinyinEntry>& entries) {
  std::set<std::u32string> single;
  for (const text::PinyinEntry& e : entries)
    if (std::u32string word = text::utf8ToCodePoints(e.Word); word.size() == 1) single.insert(std::move(word));
  std::map<std::u32string, std::map<std::string, double>> found;
  for (const text::PinyinEntry& e : entries) {
    const std::u32string word = text::utf8ToCodePoints(e.Word);
    const std::vector<std::string> readings = syllables(e.Reading);
    if (word.size() < 2 || readings.size() != word.size()) continue;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (const std::u32string c(1, word[i]); !single.contains(c)) found[c][readings[i]] += e.Rate;
  }
  for (const auto& [c, readings] : found) {
    const auto most = std::max_element(readings.begin(), readings.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    entries.push_back({text::codePointsToUtf8(c), most->first, std::min(most->second, 1.0)});
  }
}

}  // namespace

std::vector<text::PinyinEntry> ReadPinyinPackage(const std::filesystem::path& package) {
  const std::filesystem::path completeFile = package / "json" / "complete.json";
  const nlohmann::json complete = readJson(completeFile);
  if (!complete.is_object()) throw std::runtime_error(completeFile.string() + ": not an object of words");
  std::vector<text::PinyinEntry> entries;
  entries.reserve(complete.size());
  double rarest = 1;
  for (const auto& [word, value] : complete.items()) {
    if (!value.is_array() || value.size() != 2 || !value[0].is_string() || !value[1].is_number())
      throw std::runtime_error(completeFile.string() + ": the word " + word + " is not [reading, rate]");
    entries.push_back({word, value[0].get<std::string>(), value[1].get<double>()});
    rarest = std::min(rarest, entries.back().Rate);
  }
  addCharactersOfWords(entries);

  const std::filesystem::path charsFile = package / "json" / "chars.json";
  const nlohmann::json chars = readJson(charsFile);
  if (!chars.is_object()) throw std::runtime_error(charsFile.string() + ": not an object of characters");
  for (const auto& [c, reading] : chars.items()) {
    if (!reading.is_string()) throw std::runtime_error(charsFile.string() + ": the character " + c + " has no reading");
    if (!complete.contains(c)) entries.push_back({c, reading.get<std::string>(), rarest});
  }
  return entries;
}

}  // namespace pinyin
