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
struct Speller {
  const std::vector<std::string>& Groups;
  const std::vector<std::size_t>& Offsets;
  const std::vector<std::string_view>& Syllables;
  std::vector<bool>& Failed;

  bool Spells(std::size_t group, std::size_t at, std::size_t next) const {
    if (at == Groups[group].size()) {
      if (group + 1 == Groups.size()) return true;
      ++group;
      at = 0;
    }
    if (next == Syllables.size()) return false;
    const std::size_t key = (Offsets[group] + at) * (Syllables.size() + 1) + next;
    if (Failed[key]) return false;
    for (std::size_t n = commonPrefix(Groups[group], at, Syllables[next]); n > 0; --n)
      if (Spells(group, at + n, next + 1)) return true;
    Failed[key] = true;
    return false;
  }
};

// Whether a run spelling the query could begin at some syllable of `text` (or only the first,
// with `fromStart`): the syllable begins with the query's first letter, and its second letter, or
// else the next syllable's first, is the query's second. Most texts of a collection fail this
// without being split into syllables.
bool mayBeginSomewhere(std::string_view text, char first, char second, bool fromStart) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (at > 0 && text[at - 1] != ' ') continue;
    if (text[at] == ' ') continue;
    if (sameLetter(first, text[at])) {
      if (second == 0) return true;
      const std::size_t end = std::min(text.find(' ', at), text.size());
      if (at + 1 < end && sameLetter(second, text[at + 1])) return true;
      std::size_t next = end;
      while (next < text.size() && text[next] == ' ') ++next;
      if (next < text.size() && sameLetter(second, text[next])) return true;
    }
    if (fromStart) return false;
  }
  return false;
}

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
  for (const std::string& g : groups_) {
    offsets_.push_back(letters_);
    letters_ += g.size();
  }
}

bool PinyinQuery::Matches(std::string_view text, bool fromStart) const {
  if (groups_.empty()) return false;
  const char second = groups_.front().size() > 1 ? groups_.front()[1] : groups_.size() > 1 ? groups_[1].front() : 0;
  if (!mayBeginSomewhere(text, groups_.front().front(), second, fromStart)) return false;
  syllables_.clear();
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) syllables_.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  failed_.assign((letters_ + 1) * (syllables_.size() + 1), false);
  const char first = groups_.front().front();
  const Speller speller{groups_, offsets_, syllables_, failed_};
  const std::size_t starts = fromStart ? std::min<std::size_t>(1, syllables_.size()) : syllables_.size();
  for (std::size_t s = 0; s < starts; ++s)
    if (sameLetter(first, syllables_[s].front()) && speller.Spells(0, 0, s)) return true;
  return false;
}

}  // namespace text
