#include "platform/text/PinyinMatch.h"

#include <algorithm>

namespace text {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool sameLetter(char typed, char stored) { return typed == stored || (typed == 'u' && stored == 'v'); }

// The longest run of letters of `group` from `at` that begins `syllable`.
std::size_t commonPrefix(std::string_view group, std::size_t at, std::string_view syllable) {
  std::size_t n = 0;
  while (at + n < group.size() && n < syllable.size() && sameLetter(group[at + n], syllable[n])) ++n;
  return n;
}

// Whether the groups from (`group`, `at`) on are spelt by the syllables from `next` on. Each
// syllable takes a non-empty beginning of what is left of the current group; a group that is
// used up passes to the next one at the next syllable. `failed` remembers the (letter, syllable)
// pairs already tried, so the search stays polynomial however the prefixes overlap.
class Speller {
 public:
  Speller(const std::vector<std::string>& groups, const std::vector<std::string_view>& syllables)
      : groups_(groups), syllables_(syllables) {
    std::size_t letters = 0;
    for (const std::string& g : groups_) {
      offsets_.push_back(letters);
      letters += g.size();
    }
    failed_.assign((letters + 1) * (syllables_.size() + 1), false);
  }

  bool Spells(std::size_t group, std::size_t at, std::size_t next) {
    if (at == groups_[group].size()) {
      if (group + 1 == groups_.size()) return true;
      ++group;
      at = 0;
    }
    if (next == syllables_.size()) return false;
    const std::size_t key = (offsets_[group] + at) * (syllables_.size() + 1) + next;
    if (failed_[key]) return false;
    for (std::size_t n = commonPrefix(groups_[group], at, syllables_[next]); n > 0; --n)
      if (Spells(group, at + n, next + 1)) return true;
    failed_[key] = true;
    return false;
  }

 private:
  const std::vector<std::string>& groups_;
  const std::vector<std::string_view>& syllables_;
  std::vector<std::size_t> offsets_;
  std::vector<bool> failed_;
};

}  // namespace

bool IsPinyinInput(std::string_view input) {
  bool letter = false;
  for (const char c : input) {
    if (isLetter(c)) letter = true;
    else if (c != ' ' && c != '\'') return false;
  }
  return letter;
}

PinyinQuery::PinyinQuery(std::string_view input) {
  std::string group;
  for (const char c : input) {
    if (isLetter(c)) {
      group += lower(c);
    } else if (!group.empty()) {
      groups_.push_back(std::move(group));
      group.clear();
    }
  }
  if (!group.empty()) groups_.push_back(std::move(group));
}

bool PinyinQuery::Matches(std::string_view text, bool fromStart) const {
  if (groups_.empty()) return false;
  std::vector<std::string_view> syllables;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) syllables.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  const char first = groups_.front().front();
  Speller speller(groups_, syllables);
  const std::size_t starts = fromStart ? std::min<std::size_t>(1, syllables.size()) : syllables.size();
  for (std::size_t s = 0; s < starts; ++s)
    if (sameLetter(first, syllables[s].front()) && speller.Spells(0, 0, s)) return true;
  return false;
}

}  // namespace text
