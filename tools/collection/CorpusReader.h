#pragma once
// Reads the chinese-poetry corpus (its `dist` folder) into poems and biographies, in the
// order the collection numbers them. Text stays as the corpus gives it (mostly traditional).

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "tools/collection/Poem.h"

namespace collection {

// Bad or missing input: the message names the file and what is wrong with it.
class CorpusError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using ProgressFn = std::function<void(const std::string&)>;

Corpus readCorpus(const std::filesystem::path& dist, const ProgressFn& progress);

}  // namespace collection
