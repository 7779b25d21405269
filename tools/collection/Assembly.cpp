#include "tools/collection/Assembly.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "platform/text/Simplifier.h"
#include "tools/collection/Annotations.h"
#include "tools/collection/Derivation.h"

namespace collection {
namespace {

// Returns how many characters of the author's name were kept as the corpus gives them.
std::size_t simplifyHeading(Poem& p, const Simplifier& simplify) {
  p.written.title = p.title;
  p.written.author = p.author;
  p.source = simplify(p.source);
  std::size_t inAuthor = 0;
  p.title = simplify(p.title, &p.keptOriginals);
  p.author = simplify(p.author, &inAuthor);
  p.keptOriginals += inAuthor;
  return inAuthor;
}

void simplifyBody(Poem& p, const Simplifier& simplify) {
  p.written.lines = p.lines;
  for (std::string& line : p.lines) line = simplify(line, &p.keptOriginals);
  p.notes = simplify(p.notes, &p.keptOriginals);
  p.translation = simplify(p.translation, &p.keptOriginals);
  p.appreciation = simplify(p.appreciation, &p.keptOriginals);
}

std::string poetKey(const std::string& author, const std::string& dynasty) { return author + '\n' + dynasty; }

}  // namespace

std::string matchKey(const std::string& author, const std::string& title) {
  std::string key = author + '\n';
  for (std::size_t i = 0; i < title.size();) {
    bool skipped = false;
    for (const std::string_view mark : {" ", "\t", "·", "・", "　"}) {
      if (title.compare(i, mark.size(), mark) == 0) {
        i += mark.size();
        skipped = true;
        break;
      }
    }
    if (!skipped) key += title[i++];
  }
  return key;
}

void mergeAnthologies(std::vector<Poem>& poems, std::vector<Poem>& anthology) {
  std::unordered_map<std::string, std::vector<std::size_t>> byKey;
  for (std::size_t i = 0; i < poems.size(); ++i) byKey[matchKey(poems[i].author, poems[i].title)].push_back(i);
  for (Poem& reading : anthology) {
    auto it = byKey.find(matchKey(reading.author, reading.title));
    std::size_t target = poems.size();
    if (it != byKey.end()) {
      for (const std::size_t i : it->second) {
        if (poems[i].tier != Tier::Anthology) {
          target = i;
          break;
        }
      }
    }
    if (target == poems.size()) {
      poems.push_back(std::move(reading));
      continue;
    }
    Poem& kept = poems[target];
    kept.lines = std::move(reading.lines);
    kept.tier = Tier::Anthology;
    // The text is the anthology's now: so are its book and script.
    kept.source = std::move(reading.source);
    kept.traditionalSource = reading.traditionalSource;
    if (!reading.appreciation.empty()) kept.appreciation = std::move(reading.appreciation);
    if (!reading.genreHint.empty()) kept.genreHint = std::move(reading.genreHint);
    if (!reading.notes.empty()) kept.notes = std::move(reading.notes);
  }
  anthology.clear();
}

std::vector<std::size_t> choosePoems(const std::vector<Poem>& poems, std::size_t count) {
  std::vector<std::size_t> order(poems.size());
  std::iota(order.begin(), order.end(), 0);
  count = std::min(count, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count), order.end(),
                    [&](std::size_t a, std::size_t b) {
                      if (poems[a].tier != poems[b].tier) return poems[a].tier < poems[b].tier;
                      if (poems[a].popularity != poems[b].popularity) return poems[a].popularity > poems[b].popularity;
                      return a < b;
                    });
  order.resize(count);
  std::sort(order.begin(), order.end());
  return order;
}

Collection assemble(Corpus corpus, std::size_t count, const Simplifier& simplify, const ProgressFn& progress) {
  auto say = [&](const std::string& s) {
    if (progress) progress(s);
  };
  // Some entries of the complete collections are a title whose text was lost: nothing to read.
  const std::size_t dropped =
      std::erase_if(corpus.poems, [](const Poem& p) { return clauseLengths(p.lines).empty(); });
  say("left out " + std::to_string(dropped) + " entries without text");
  say("simplifying titles and authors of " + std::to_string(corpus.poems.size()) + " poems");
  // The poet table repeats each name: its characters kept unsimplified count once more there.
  std::unordered_map<std::string, std::size_t> keptInName;
  for (std::vector<Poem>* poems : {&corpus.poems, &corpus.anthology}) {
    for (Poem& p : *poems) {
      if (const std::size_t kept = simplifyHeading(p, simplify)) keptInName.emplace(p.author, kept);
    }
  }
  mergeAnthologies(corpus.poems, corpus.anthology);

  if (count == 0) count = corpus.poems.size();
  if (count > corpus.poems.size())
    throw CorpusError("the corpus holds only " + std::to_string(corpus.poems.size()) + " poems, fewer than the " +
                      std::to_string(count) + " asked for");
  const std::vector<std::size_t> chosen = choosePoems(corpus.poems, count);

  say("simplifying the text of " + std::to_string(chosen.size()) + " poems");
  Collection out;
  out.poems.reserve(chosen.size());
  for (const std::size_t i : chosen) {
    StoredPoem stored{std::move(corpus.poems[i]), {}, {}};
    simplifyBody(stored.poem, simplify);
    stored.genre = deriveGenre(stored.poem);
    stored.category = deriveCategory(stored.poem.tags);
    out.poems.push_back(std::move(stored));
  }
  attachAnnotations(out.poems, corpus.annotations, simplify);

  say("gathering the poets");
  std::unordered_map<std::string, std::size_t> poetIndex;
  for (const StoredPoem& s : out.poems) {
    if (poetIndex.emplace(poetKey(s.poem.author, s.poem.dynasty), out.poets.size()).second)
      out.poets.push_back({s.poem.author, s.poem.dynasty, {}});
  }
  std::unordered_map<std::string, std::size_t> nameIndex;
  for (std::size_t i = 0; i < out.poets.size(); ++i) nameIndex.emplace(out.poets[i].author, i);
  // A poet's own dynasty's biography first; a poet of the Five Dynasties is often in the Tang books.
  for (int pass = 0; pass < 2; ++pass) {
    for (const Biography& bio : corpus.biographies) {
      const std::string name = simplify(bio.author);
      std::size_t at;
      if (pass == 0) {
        const auto it = poetIndex.find(poetKey(name, bio.dynasty));
        if (it == poetIndex.end()) continue;
        at = it->second;
      } else {
        const auto it = nameIndex.find(name);
        if (it == nameIndex.end()) continue;
        at = it->second;
      }
      if (out.poets[at].biography.empty()) out.poets[at].biography = simplify(bio.text, &out.keptOriginals);
    }
  }
  for (const StoredPoem& s : out.poems) out.keptOriginals += s.poem.keptOriginals;
  for (const Poet& p : out.poets) {
    if (const auto it = keptInName.find(p.author); it != keptInName.end()) out.keptOriginals += it->second;
  }
  return out;
}

}  // namespace collection
