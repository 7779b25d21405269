#pragma once
// Readings for the characters the pinyin-pro data lacks, from the Unicode Character Database's
// Unihan files (Debian's unicode-data): old and variant forms that classical texts use, such as
// 劒, 鴈 and 荅, and rare characters of names, such as 樛.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/text/PinyinDictionary.h"

namespace pinyin {

// Adds an entry for every ideograph of `readings` (Unihan_Readings.txt) or `variants`
// (Unihan_Variants.txt and Unihan_IRGSources.txt) that `entries` has no one-character word for:
// the reading of its first variant (kCompatibilityVariant, then kZVariant, kSimplifiedVariant,
// kSemanticVariant, kTraditionalVariant) that `entries` reads, directly or through `simplify`;
// without such a variant, its kMandarin reading (the first, mainland one). Every added entry has the smallest rate of `entries`, so that a word of
// the data always wins. Throws std::runtime_error naming the file and line that cannot be read.
void AddUnihanReadings(std::vector<text::PinyinEntry>& entries, const std::vector<std::filesystem::path>& variants,
                       const std::filesystem::path& readings,
                       const std::function<std::string(const std::string&)>& simplify);

}  // namespace pinyin
