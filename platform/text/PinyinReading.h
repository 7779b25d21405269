#pragma once
// Pinyin for Chinese text, one syllable a character, read as school editions of the poems read
// it. The text is taken in its simplified form (the collection's own conversion, Simplifier.h),
// split into the most probable words of the dictionary, each character read as its word reads
// it, in its own tone; the classical readings (ClassicalReadings.h) then take precedence over the
// dictionary's.

#include <string>
#include <string_view>
#include <vector>

#include "platform/text/PinyinDictionary.h"
#include "platform/text/Simplifier.h"

namespace text {

class PinyinReader {
 public:
  explicit PinyinReader(PinyinDictionary dictionary);

  // One reading a character of `text`: a syllable in lower case with tone marks, or empty for a
  // character that is not Chinese or has no reading, neither as written nor simplified.
  std::vector<std::string> Readings(std::u32string_view text) const;

 private:
  std::u32string lookupCharacters(std::u32string_view text) const;
  bool hasReading(char32_t c) const;
  // School editions of the poems give every syllable its own tone: 一 and 不 keep theirs where
  // speech changes it before another syllable, and a syllable a modern word reads without a tone
  // (妃子 zi, 儿 er) takes the tone of the character's own reading. Empty when the syllable
  // needs no change.
  std::string_view citationTone(char32_t c, std::string_view syllable) const;

  PinyinDictionary dictionary_;
  Simplifier simplify_;
};

}  // namespace text
