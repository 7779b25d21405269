#include "tools/collection/PinyinSource.h"

#include <string>

#include "tools/collection/CorpusReader.h"

namespace collection {

text::PinyinDictionary loadPinyinDictionary(const std::filesystem::path& file) {
  const std::string remedy =
      "; the collection stores the pinyin of every title and author, and the build writes " +
      std::string(text::PinyinDictionary::kFileName) +
      " beside sici-collect when configured with -DSICI_PINYIN_DATA_DIR=$(tools/pinyin/fetch-pinyin-data)";
  if (file.empty())
    throw CorpusError("the folder of sici-collect cannot be found, nor the pinyin dictionary in it" + remedy);
  try {
    return text::PinyinDictionary::Load(file);
  } catch (const text::PinyinDictionaryError& e) {
    throw CorpusError(std::string("no pinyin dictionary: ") + e.what() + remedy);
  }
}

}  // namespace collection
