#pragma once
// The tables of the reader's two files, as the builder creates them. Test fixtures create
// their small copies from the same statements, so they run the storage path of the shipped data.

#include <array>

namespace collection {

inline constexpr const char* kCatalogueName = "sici.idb";
inline constexpr const char* kTextFileName = "sici.dbf";
inline constexpr const char* kCatalogueKey = "lirn4302986K";
// Beside the two files: the number of poems, in decimal, so that the reader can name it in its
// caption without a statement of its own.
inline constexpr const char* kPoemCountName = "sici.poems";

// Declared as short texts, the reader keeps titles and names in pooled strings rather than in
// one blob each; the dynasty, genre and category words are a few characters at most.
// pinyin holds, under each poem's id, the syllables of its title and author as the reader's
// pinyin search matches them (platform/text/PinyinSearchText.h): read once by the builder with
// the whole dictionary rather than by the reader at every search.
inline constexpr std::array<const char*, 4> kCatalogueTables{
    "CREATE TABLE sici(id INTEGER PRIMARY KEY, tm VARCHAR, zz VARCHAR, nd VARCHAR(16), tc VARCHAR(16), lb VARCHAR(16))",
    "CREATE TABLE poet(zz VARCHAR, nd VARCHAR(16), js TEXT)",
    "CREATE TABLE tmpid(id INTEGER PRIMARY KEY)",
    "CREATE TABLE pinyin(id INTEGER PRIMARY KEY, tm VARCHAR, zz VARCHAR)",
};

// A poet's works and biography are looked up by exact author name.
inline constexpr std::array<const char*, 2> kCatalogueIndexes{
    "CREATE INDEX poet_zz ON poet(zz)",
    "CREATE INDEX sici_zz ON sici(zz)",
};

// source holds, under each poem's id, its title, author and text as its source wrote them, in
// UTF-8 (every character, those code page 936 lacks among them), whether that source writes
// traditional characters (ft = 1), and the book it comes from (cc, simplified, UTF-8).
inline constexpr std::array<const char*, 2> kTextTables{
    "CREATE TABLE sici(id INTEGER PRIMARY KEY, nr TEXT, zs TEXT, yw TEXT, jx TEXT)",
    "CREATE TABLE source(id INTEGER PRIMARY KEY, tm TEXT, zz TEXT, nr TEXT, ft INTEGER, cc TEXT)",
};

}  // namespace collection
