#pragma once
// Turns the corpus as read into the collection as stored: simplified text, the anthologies'
// readings merged in, the default selection, genres, categories and the poets' table.

#include <cstddef>
#include <string>
#include <vector>

#include "tools/collection/CorpusReader.h"
#include "tools/collection/Poem.h"

namespace text {
class Simplifier;
}

namespace collection {

using text::Simplifier;

// The number of poems the reader's window caption announces.
inline constexpr std::size_t kDefaultPoemCount = 104862;

struct Poet {
  std::string author;
  std::string dynasty;
  std::string biography;
};

struct StoredPoem {
  Poem poem;
  std::string genre;
  std::string category;
};

struct Collection {
  std::vector<StoredPoem> poems;  // poem number i + 1 is poems[i]
  std::vector<Poet> poets;
  std::size_t keptOriginals = 0;  // characters stored as the corpus gives them, every copy
                                  // counted, code page 936 lacking their simplified form
};

// The key by which an anthology's poem is found in a complete collection: author and title
// with spacing and separator dots left out.
std::string matchKey(const std::string& author, const std::string& title);

// Puts each anthology poem in place of the first not yet replaced poem of the collection with
// the same key, or appends it when the collection lacks it. Keys must already be simplified.
void mergeAnthologies(std::vector<Poem>& poems, std::vector<Poem>& anthology);

// Indices of the `count` poems of the default collection, in collection order: anthologies
// and curated sets first, then the best known by popularity, earlier poems winning ties.
std::vector<std::size_t> choosePoems(const std::vector<Poem>& poems, std::size_t count);

// `count` == 0 keeps every poem.
Collection assemble(Corpus corpus, std::size_t count, const Simplifier& simplify, const ProgressFn& progress);

}  // namespace collection
