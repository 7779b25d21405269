#pragma once
// Readings that depend on the classical sense of a word, or on how school editions of the poems
// read it, where the dictionary gives the modern reading or none: 朝 "morning" zhāo, 还
// "return" huán, 将 "please" qiāng, the names of peoples and places of old. They take precedence
// over the dictionary's, each over the whole of its phrase.

#include <span>
#include <string_view>

namespace text {

struct ClassicalReading {
  std::u32string_view Phrase;  // simplified characters
  std::string_view Reading;    // one syllable a character, separated by single blanks
  std::string_view Source;     // where the reading was checked
};

std::span<const ClassicalReading> ClassicalReadings();

}  // namespace text
