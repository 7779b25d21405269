#pragma once
// Finding text by pinyin as people type it, without tones: whole syllables (jingyesi, jing ye
// si), their first letters (jys), or any mix of the two (jingys). The text is searched in the
// form the collection stores: its syllables toneless, in lower case, ü written v, separated by
// single blanks ("jing ye si").

#include <string>
#include <string_view>
#include <vector>

namespace text {

// Whether `input` asks for a pinyin search: nothing but ASCII letters, blanks and apostrophes,
// and at least one letter.
bool IsPinyinInput(std::string_view input);

class PinyinQuery {
 public:
  // `input` as IsPinyinInput accepts it; letters of either case. Blanks and apostrophes split it
  // into groups, and a group never ends inside a syllable.
  explicit PinyinQuery(std::string_view input);

  // Whether consecutive syllables of `syllables` spell the query, each syllable by itself or by a
  // beginning of it (at least its first letter), in order, taking every letter of the query; a u
  // typed for ü matches the stored v. With `fromStart` the run must begin at the first syllable.
  bool Matches(std::string_view syllables, bool fromStart = false) const;

 private:
  std::vector<std::string> groups_;
};

}  // namespace text
