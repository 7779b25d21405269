#pragma once
// Titles and authors found by pinyin. The catalogue's pinyin table holds the syllables of every
// title and author; the first search reads it whole and keeps it, packed, so that every later
// search is a walk over memory that ends in the ids of the poems found, in the order of the list.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/AnsiText.h"

class TUniConnection;

class PinyinSearch {
 public:
  enum class TColumn { Title, Author };

  explicit PinyinSearch(TUniConnection& catalogue) : catalogue_(catalogue) {}

  // Whether the catalogue has the syllables: a collection built before them has no pinyin table,
  // and its Latin input is searched as any other text.
  bool Available();

  // The ids of the poems whose title (or author) holds consecutive syllables that `input` spells
  // (text::PinyinQuery); with `fromStart` they must begin the title. In the order of the ids.
  std::vector<AnsiString> Find(std::string_view input, TColumn column, bool fromStart);

 private:
  void load();

  struct TRow {
    std::int64_t Id;
    std::uint32_t Title, TitleBytes, Author, AuthorBytes;  // in pool_
  };
  TUniConnection& catalogue_;
  bool loaded_ = false;
  bool available_ = false;
  std::string pool_;
  std::vector<TRow> rows_;
};
