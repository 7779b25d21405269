#pragma once
// The dictionary's entries from the pinyin-pro data package (@pinyin-pro/data 1.3.1, ISC):
// json/complete.json, words with their reading and rate, and json/chars.json, a few rare
// characters with their reading.

#include <filesystem>
#include <vector>

#include "platform/text/PinyinDictionary.h"

namespace pinyin {

// Every word of complete.json; every character that complete.json has only inside longer words,
// read as those words read it most (its rate the sum of theirs); and the characters of
// chars.json that it lacks, at the smallest rate of any word. Throws std::runtime_error naming
// the file and the entry that cannot be read.
std::vector<text::PinyinEntry> ReadPinyinPackage(const std::filesystem::path& package);

}  // namespace pinyin
