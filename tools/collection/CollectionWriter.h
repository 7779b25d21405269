#pragma once
// Writes the two database files of the reader: the encrypted catalogue and the text file.

#include <cstddef>
#include <filesystem>
#include <string>

#include "tools/collection/Assembly.h"
#include "collection/CollectionSchema.h"
#include "platform/text/PinyinReading.h"

namespace collection {

struct WriteReport {
  std::size_t replacedCharacters = 0;  // characters outside code page 936, stored as 〓
  // Of those in titles, authors and verses, the ones the source text cannot give back: the
  // "〓" the reader still shows, in the simplified view and in the source's.
  std::size_t leftInSimplified = 0;
  std::size_t leftInSource = 0;
};

// Writes both files into `folder` through temporary files that replace the old ones only
// once both are complete; on failure nothing in `folder` has changed. Titles and authors are
// read by `pinyin` as they are stored, so that their syllables match what the reader shows.
// `progress`, when given, is told "progress: N% of T poems" at every whole percent of the poems
// written (each poem is written twice, once into each file).
WriteReport writeCollection(const Collection& collection, const std::filesystem::path& folder,
                            const text::PinyinReader& pinyin, const ProgressFn& progress = {});

}  // namespace collection
