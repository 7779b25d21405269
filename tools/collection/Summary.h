#pragma once
// What the builder tells about a collection it built: per entry of the reader's dynasty list
// the poets, the poems and how many poems carry notes, a translation and an appreciation; the
// genres; the poems without a category; what became of characters outside code page 936.

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tools/collection/Assembly.h"
#include "tools/collection/CollectionWriter.h"

namespace collection {

struct DynastyFigures {
  std::string dynasty;
  std::size_t poets = 0;
  std::size_t poems = 0;
  std::size_t notes = 0;
  std::size_t translations = 0;
  std::size_t appreciations = 0;
};

struct Summary {
  std::vector<DynastyFigures> dynasties;  // the reader's dynasty list, in its order
  DynastyFigures all;                     // the whole collection
  std::map<std::string, std::size_t> genres;
  std::size_t uncategorised = 0;
  std::size_t keptOriginals = 0;
  std::size_t replacedCharacters = 0;
  std::size_t leftInSimplified = 0;  // "〓" the reader still shows in titles, authors and verses
  std::size_t leftInSource = 0;
};

// The reader's 15 dynasty words, in the order of its list.
const std::vector<std::string>& dynastyWords();

// A poem or poet counts under every word of the list that its dynasty contains, as the reader's
// dynasty search finds it.
Summary summarise(const Collection& collection, const WriteReport& report);

void printSummary(std::ostream& out, const Summary& summary);

}  // namespace collection
