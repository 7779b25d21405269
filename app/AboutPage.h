#pragma once
// The About window's own page, shown when the maker's page cannot be had: the program's version,
// what the collection in the current folder holds per dynasty, and where the poems, the readings,
// the conversion tables and the fonts come from, under which licences.

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

class TUniConnection;

struct DynastyCount {
  QString dynasty;
  long long poems = 0;
  long long poets = 0;
  long long notes = 0;
  long long appreciations = 0;
};

struct CollectionFigures {
  // One row per entry of the reader's dynasty list, in its order.
  std::vector<DynastyCount> dynasties;
  // The whole collection, each poem and poet counted once whatever its dynasty.
  DynastyCount all;
};

// Counted as the reader's dynasty search finds poems: a poem or poet counts under every entry
// whose pattern its dynasty contains (五代 and 魏晋 as 五 and 晋), as the builder's summary
// counts them. One statement on the text file, one on the catalogue; throws what they throw.
CollectionFigures ReadCollectionFigures(TUniConnection& catalogue, TUniConnection& texts);

// The page in navy on `background`. Without figures it says that they are being counted, or
// (`counting` false) that the collection could not be read, and still names the version and
// the sources.
QString AboutPageHtml(const std::optional<CollectionFigures>& figures, bool counting, const QColor& background);
