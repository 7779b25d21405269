#pragma once
// What the builder derives from a poem's text and tags: its genre and its category.

#include <string>
#include <string_view>
#include <vector>

#include "tools/collection/Poem.h"

namespace collection {

// The clauses of the poem's lines: the stretches between punctuation, holding only the verse
// characters, with bracketed editorial remarks left out.
std::vector<std::string> clauses(const std::vector<std::string>& lines);

// Lengths, in characters, of the clauses.
std::vector<std::size_t> clauseLengths(const std::vector<std::string>& lines);

// The verse characters of the lines, clause after clause: the text by which two editions of
// a poem are compared.
std::string verseText(const std::vector<std::string>& lines);

// The genre word (五绝, 七律, 五古, 杂言, 词, 散曲 …) of a poem from its line structure;
// empty when the text has no clause at all.
std::string deriveGenre(const Poem& poem);

// The reader's category word for the first of `tags` naming a theme that maps onto one, else
// for the first naming a place that does; empty when none does.
std::string deriveCategory(const std::vector<std::string>& tags);

// The reader's 27 category words.
const std::vector<std::string>& categoryWords();

}  // namespace collection
