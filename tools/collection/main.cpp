// sici-collect: builds the reader's two database files from the chinese-poetry corpus.

#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/text/PinyinReading.h"
#include "platform/text/Simplifier.h"
#include "tools/collection/Assembly.h"
#include "tools/collection/CollectionWriter.h"
#include "tools/collection/CorpusReader.h"
#include "tools/collection/PinyinSource.h"
#include "tools/collection/Summary.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: sici-collect [--corpus DIR] [--out DIR] [--all]\n"
    "  --corpus DIR  the unpacked chinese-poetry@2.0.1 package (default: the cache that\n"
    "                tools/collection/fetch-corpus fills)\n"
    "  --out DIR     where sici.idb and sici.dbf are written (default: the current folder)\n"
    "  --all         every poem of the corpus instead of the 104862 best known\n"
    "Titles and authors are read in pinyin by sici.pinyin beside the program, which the build\n"
    "writes when configured with -DSICI_PINYIN_DATA_DIR.\n";

fs::path defaultCorpus() {
  if (const char* env = std::getenv("SICI_CORPUS")) return env;
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const char* home = std::getenv("HOME");
  const fs::path base = cache && *cache ? fs::path(cache) : fs::path(home ? home : ".") / ".cache";
  return base / "sici" / "chinese-poetry-2.0.1" / "package";
}

}  // namespace

int main(int argc, char** argv) {
  fs::path corpus = defaultCorpus();
  fs::path out = ".";
  bool all = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--all") {
      all = true;
    } else if ((arg == "--corpus" || arg == "--out") && i + 1 < argc) {
      (arg == "--corpus" ? corpus : out) = argv[++i];
    } else {
      std::cerr << (arg == "--help" || arg == "-h" ? "" : "sici-collect: unknown argument " + arg + "\n") << kUsage;
      return arg == "--help" || arg == "-h" ? EXIT_SUCCESS : 2;
    }
  }
  if (fs::is_directory(corpus / "dist")) corpus /= "dist";

  const auto started = std::chrono::steady_clock::now();
  try {
    // Before the corpus, so that a build without the dictionary stops at once.
    const text::PinyinReader pinyin(collection::loadPinyinDictionary(text::PinyinDictionaryBesideProgram()));
    const auto progress = [](const std::string& message) { std::cout << message << std::endl; };
    collection::Corpus read = collection::readCorpus(corpus, progress);
    const collection::Simplifier simplify;
    const collection::Collection built =
        collection::assemble(std::move(read), all ? 0 : collection::kDefaultPoemCount, simplify, progress);
    progress("writing " + (out / collection::kCatalogueName).string() + " and " + (out / collection::kTextFileName).string());
    const collection::WriteReport report = collection::writeCollection(built, out, pinyin, progress);
    collection::printSummary(std::cout, collection::summarise(built, report));
  } catch (const std::exception& e) {
    std::cerr << "sici-collect: " << e.what() << '\n';
    return EXIT_FAILURE;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::cout << "time: " << seconds << " s\npeak memory: " << usage.ru_maxrss / 1024 << " MiB\n";
  return EXIT_SUCCESS;
}
