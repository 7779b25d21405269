#include "platform/text/PinyinReading.h"

#include <limits>

#include "platform/text/ClassicalReadings.h"
#include "platform/text/CodePoints.h"
#include "platform/text/PinyinSyllable.h"

namespace text {
namespace {

// What a character without an entry of its own adds to a path's score: below the logarithm of
// the rarest rate of the data package, so that a word holding the character wins over leaving it
// without a reading.
constexpr double kUnknownLogRate = -50;

std::string utf8Of(char32_t c) { return codePointsToUtf8(std::u32string_view(&c, 1)); }

// The syllables of a reading, one a character, into `out` from `at` on.
void putSyllables(std::string_view reading, std::vector<std::string>& out, std::size_t at) {
  for (std::size_t start = 0; at < out.size(); ++at) {
    const std::size_t end = std::min(reading.find(' ', start), reading.size());
    out[at] = reading.substr(start, end - start);
    if (end == reading.size()) break;
    start = end + 1;
  }
}

void applyClassicalReadings(std::u32string_view text, std::vector<std::string>& out) {
  for (std::size_t i = 0; i < text.size();) {
    const ClassicalReading* longest = nullptr;
    for (const ClassicalReading& reading : ClassicalReadings())
      if (text.substr(i).starts_with(reading.Phrase) && (!longest || reading.Phrase.size() > longest->Phrase.size()))
        longest = &reading;
    if (!longest) {
      ++i;
      continue;
    }
    putSyllables(longest->Reading, out, i);
    i += longest->Phrase.size();
  }
}

}  // namespace

PinyinReader::PinyinReader(PinyinDictionary dictionary) : dictionary_(std::move(dictionary)) {}

bool PinyinReader::hasReading(char32_t c) const { return dictionary_.Lookup(utf8Of(c)).Exact.has_value(); }

std::string_view PinyinReader::citationTone(char32_t c, std::string_view syllable) const {
  if (c == U'一' && (syllable == "yí" || syllable == "yì" || syllable == "yi")) return "yī";
  if (c == U'不' && (syllable == "bú" || syllable == "bu")) return "bù";
  if (Toneless(syllable) != syllable) return {};
  const std::optional<PinyinDictionary::Found> own = dictionary_.Lookup(utf8Of(c)).Exact;
  return own && own->Reading != syllable && Toneless(own->Reading) == syllable ? own->Reading : std::string_view();
}

std::u32string PinyinReader::lookupCharacters(std::u32string_view text) const {
  std::u32string simplified = utf8ToCodePoints(simplify_(codePointsToUtf8(text)));
  // The conversion works on phrases (乾坤 keeps its 乾) and turns one character into one; should
  // it ever change the count, the characters are converted one by one.
  if (simplified.size() != text.size()) {
    simplified.clear();
    for (const char32_t c : text) {
      const std::u32string one = utf8ToCodePoints(simplify_(utf8Of(c)));
      simplified += one.size() == 1 ? one[0] : c;
    }
  }
  for (std::size_t i = 0; i < text.size(); ++i)
    if (simplified[i] != text[i] && !hasReading(simplified[i]) && hasReading(text[i])) simplified[i] = text[i];
  return simplified;
}

std::vector<std::string> PinyinReader::Readings(std::u32string_view text) const {
  const std::u32string characters = lookupCharacters(text);
  const std::size_t n = characters.size();
  std::string utf8;
  std::vector<std::size_t> at(n + 1);
  for (std::size_t i = 0; i < n; ++i) {
    at[i] = utf8.size();
    utf8 += utf8Of(characters[i]);
  }
  at[n] = utf8.size();

  // best[i]: the most probable reading of the first i characters, as the word that ends it.
  struct Step {
    double Score = -std::numeric_limits<double>::infinity();
    std::size_t From = 0;
    std::string_view Reading;
  };
  std::vector<Step> best(n + 1);
  best[0].Score = 0;
  const auto reach = [&best](std::size_t to, double score, std::size_t from, std::string_view reading) {
    if (score > best[to].Score) best[to] = {score, from, reading};
  };
  for (std::size_t i = 0; i < n; ++i) {
    bool single = false;
    for (std::size_t end = i + 1; end <= n && end - i <= PinyinDictionary::kMaxWordCharacters; ++end) {
      const PinyinDictionary::Match match = dictionary_.Lookup(std::string_view(utf8).substr(at[i], at[end] - at[i]));
      if (match.Exact) {
        reach(end, best[i].Score + match.Exact->LogRate, i, match.Exact->Reading);
        single = single || end == i + 1;
      }
      if (!match.Longer) break;
    }
    if (!single) reach(i + 1, best[i].Score + kUnknownLogRate, i, {});
  }

  std::vector<std::string> readings(n);
  for (std::size_t end = n; end > 0; end = best[end].From) {
    const std::size_t from = best[end].From;
    if (best[end].Reading.empty()) continue;
    putSyllables(best[end].Reading, readings, from);
    for (std::size_t i = from; i < end; ++i)
      if (const std::string_view tone = citationTone(characters[i], readings[i]); !tone.empty()) readings[i] = tone;
  }
  applyClassicalReadings(characters, readings);
  return readings;
}

}  // namespace text
