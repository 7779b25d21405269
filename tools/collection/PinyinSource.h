#pragma once
// The pinyin dictionary the builder reads every title and author by. A collection built without
// it would look complete and yet find nothing by pinyin, so without it the build stops.

#include <filesystem>

#include "platform/text/PinyinDictionary.h"

namespace collection {

// The dictionary in `file`, empty when the builder's folder could not be found. Throws
// CorpusError naming the file and how the build makes it.
text::PinyinDictionary loadPinyinDictionary(const std::filesystem::path& file);

}  // namespace collection
