#include "tools/collection/Annotations.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/text/AnsiText.h"
#include "platform/text/Simplifier.h"
#include "tools/collection/Derivation.h"

namespace collection {
namespace {

constexpr std::size_t kNowhere = std::u16string_view::npos;

// The inexact search compares the fragment at every place of the poem: a poem and a fragment
// whose lengths multiply past this are searched for the exact text only.
constexpr std::size_t kMostComparisons = std::size_t{1} << 22;

std::string annotationKey(const std::string& dynasty, const std::string& author, const std::string& title) {
  return dynasty + '\n' + matchKey(author, title);
}

// Where `fragment` stands in `verse`: exactly, or else where all but one character in five
// agree, since two editions write some characters in different variants.
std::size_t locate(std::u16string_view verse, std::u16string_view fragment) {
  if (fragment.empty() || fragment.size() > verse.size()) return kNowhere;
  if (const std::size_t at = verse.find(fragment); at != kNowhere) return at;
  if (verse.size() * fragment.size() > kMostComparisons) return kNowhere;
  std::size_t best = kNowhere, fewest = fragment.size() / 5 + 1;
  for (std::size_t at = 0; at + fragment.size() <= verse.size(); ++at) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i < fragment.size() && differing < fewest; ++i) differing += verse[at + i] != fragment[i];
    if (differing < fewest) {
      fewest = differing;
      best = at;
    }
  }
  return best;
}

struct Placed {
  std::size_t at;  // where the annotated text starts in the poem's verse
  const Poem* annotation;
  bool whole;
};

void writeNotes(Poem& poem, std::vector<Placed>& placed, const Simplifier& simplify) {
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) { return a.at < b.at; });
  for (const Placed& p : placed) {
    if (!poem.notes.empty()) poem.notes += '\n';
    const std::vector<std::string> heads = clauses(p.annotation->lines);
    if (!p.whole && !heads.empty()) poem.notes += simplify(heads.front(), &poem.keptOriginals) + "：";
    poem.notes += simplify(p.annotation->notes, &poem.keptOriginals);
  }
}

}  // namespace

void attachAnnotations(std::vector<StoredPoem>& poems, const std::vector<Poem>& annotations,
                       const Simplifier& simplify) {
  std::vector<std::string> keys;
  std::unordered_map<std::string, std::size_t> sharing;
  for (const Poem& a : annotations) {
    keys.push_back(annotationKey(a.dynasty, simplify(a.author), simplify(a.title)));
    ++sharing[keys.back()];
  }

  std::unordered_map<std::string, std::vector<std::size_t>> open;  // poems without notes, by key
  std::unordered_map<std::string, std::size_t> namesakes;          // poems with or without notes
  std::unordered_map<std::size_t, std::u16string> verses;
  for (std::size_t i = 0; i < poems.size(); ++i) {
    const Poem& p = poems[i].poem;
    std::string key = annotationKey(p.dynasty, p.author, p.title);
    if (!sharing.contains(key)) continue;
    ++namesakes[key];
    if (!p.notes.empty()) continue;
    open[std::move(key)].push_back(i);
    verses[i] = text::utf8ToWide(verseText(p.lines));
  }

  std::map<std::size_t, std::vector<Placed>> placed;
  for (std::size_t n = 0; n < annotations.size(); ++n) {
    const auto candidates = open.find(keys[n]);
    if (candidates == open.end()) continue;
    std::vector<std::string> lines;
    for (const std::string& line : annotations[n].lines) lines.push_back(simplify(line));
    const std::u16string fragment = text::utf8ToWide(verseText(lines));
    bool found = false;
    for (const std::size_t i : candidates->second) {
      const std::u16string& verse = verses.at(i);
      const std::size_t at = locate(verse, fragment);
      if (at == kNowhere) continue;
      placed[i].push_back({at, &annotations[n], at == 0 && fragment.size() == verse.size()});
      found = true;
    }
    if (!found && namesakes[keys[n]] == 1 && sharing[keys[n]] == 1)
      placed[candidates->second.front()].push_back({0, &annotations[n], true});
  }
  for (auto& [i, notes] : placed) {
    writeNotes(poems[i].poem, notes, simplify);
    // The imperial edition names the volume of the complete collection the poem stands in.
    if (!notes.front().annotation->source.empty()) poems[i].poem.source += "·" + notes.front().annotation->source;
  }
}

}  // namespace collection
