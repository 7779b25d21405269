#pragma once
// Every statement the reader sends to its two files, assembled from fixed pieces and values
// by plain concatenation. A value inside a text literal has each of its single quotes
// doubled, so that it can only ever be a value; otherwise values go in as given (already
// trimmed by the caller), and the bytes that reach SQLite are exactly these texts. All text
// is code page 936.

#include <cstddef>
#include <vector>

#include "platform/text/AnsiText.h"

namespace statements {

// The list of every poem: number, 作品, 作者.
AnsiString AllPoems();
// Every poem's number and 作品: the result list before the first search.
AnsiString AllTitles();
// The poets of the Tang dynasty, titled 作者.
AnsiString TangPoets();
// The works of the poet the dynasty page opens on.
AnsiString FixedAuthorWorks();
// The poets of a dynasty entry of the dynasty list, titled with the entry followed by 作者.
AnsiString DynastyPoets(const AnsiString& entry);
// The works of one poet, titled with the name followed by 作品.
AnsiString PoetWorks(const AnsiString& author);
// Titles beginning with `text` (the title filter).
AnsiString TitlesBeginningWith(const AnsiString& text);
// Titles, authors containing `input` (the quick search).
AnsiString TitlesContaining(const AnsiString& input);
AnsiString AuthorsContaining(const AnsiString& input);
// The numbers of the poems whose text contains `input`; on the text file.
AnsiString TextsContaining(const AnsiString& input);
// The scratch list of the last content search: emptied, filled one number at a time, listed.
AnsiString ClearScratch();
AnsiString AddToScratch(const AnsiString& id);
// Many ids in one statement, for the pinyin search, which may find tens of thousands: at most
// kScratchBatch, the most rows SQLite takes in one VALUES list.
inline constexpr std::size_t kScratchBatch = 500;
AnsiString AddAllToScratch(const AnsiString* ids, std::size_t count);
AnsiString ScratchPoems();
// The syllables of every title and author, for the pinyin search.
AnsiString PinyinRows();
// The poems of the scratch list as the title and author searches list theirs: the same columns,
// in the order of the ids, each looked up by its id.
AnsiString ScratchList();
AnsiString PinyinTableExists();

// The advanced search: the base with the clauses that were chosen; an empty argument leaves
// its clause out. `dynasty` is the entry as listed (shortened here).
struct AdvancedChoice {
  AnsiString genre, category, dynasty, author, title;
};
AnsiString AdvancedSearch(const AdvancedChoice& choice);
// The base of the advanced search without its trailing blank: what a search with nothing
// chosen comes to once trimmed.
AnsiString AdvancedSearchBase();

// One poem's row by number, from the catalogue or the text file (the same text for both).
AnsiString PoemRow(const AnsiString& id);
// The poet's row by exact name.
AnsiString PoetRow(const AnsiString& author);

// The random poem: the range of the poems' numbers and how many poems there are; whether a
// number is one; the number of the poem at a place in number order.
AnsiString PoemRange();
AnsiString PoemCount();
AnsiString PoemNumber(long long id);
AnsiString PoemNumberAt(long long place);
// A poem of the person's library looked up again: the one with this title and author (the
// lowest number when several share them).
AnsiString PoemByTitleAndAuthor(const AnsiString& title, const AnsiString& author);

// The source's row of a poem on the text file, and whether the text file has that table.
AnsiString SourceRow(const AnsiString& id);
AnsiString SourceTableExists();

// The figures of the About window's page. On the text file: the number of every poem with
// notes or an appreciation, and which of the two it has (two columns of 0 or 1).
AnsiString AnnotatedPoems();
// On the catalogue, in one statement: rows of a kind (0 poems, 1 poets, 2 poems among `notes`,
// 3 poems among `appreciations`), a stored dynasty and how many of that kind it has.
AnsiString DynastyFigures(const std::vector<long long>& notes, const std::vector<long long>& appreciations);

// A dynasty entry as it goes into a pattern: 五代 and 魏晋 are stored as 五 and 晋.
AnsiString DynastyPattern(const AnsiString& entry);

// `value` as the inside of an SQL text literal: every single quote doubled.
AnsiString Literal(const AnsiString& value);
// `name` as a column alias: as it stands where SQLite reads it as one plain identifier, else
// in double quotes with every double quote doubled (a name with a blank or a bracket, or with
// a character whose second byte is an ASCII sign, such as 璠 = AD 5B).
AnsiString Alias(const AnsiString& name);

// The fixed author of the dynasty page.
AnsiString FixedAuthor();

}  // namespace statements
