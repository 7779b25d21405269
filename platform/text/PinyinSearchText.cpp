#include "platform/text/PinyinSearchText.h"

#include "platform/text/PinyinSyllable.h"

namespace text {
namespace {

constexpr std::string_view kUmlaut = "ü";

}  // namespace

std::string SearchSyllables(const PinyinReader& reader, std::u32string_view text) {
  std::string syllables;
  for (const std::string& reading : reader.Readings(text)) {
    if (reading.empty()) continue;
    if (!syllables.empty()) syllables += ' ';
    const std::string bare = Toneless(reading);
    for (std::size_t at = 0; at < bare.size();) {
      if (bare.compare(at, kUmlaut.size(), kUmlaut) == 0) {
        syllables += 'v';
        at += kUmlaut.size();
      } else {
        syllables += bare[at++];
      }
    }
  }
  return syllables;
}

}  // namespace text
