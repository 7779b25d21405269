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
  // Not for two threads at once: the query keeps its working space between calls, so that a
  // walk over a whole collection allocates nothing per text.
  bool Matches(std::string_view syllables, bool fromStart = false) const;

 private:
  std::vector<std::string> groups_;
  std::vector<std::size_t> offsets_;  // of each group's first letter among all the letters
  std::size_t letters_ = 0;
  mutable std::vector<std::string_view> syllables_;
  mutable std::vector<bool> failed_;
};

}  // namespace text
