// libFuzzer target for the opening of library.db: any bytes as the file are set aside or opened
// as a library, which then takes a favourite and a history row; a failure is a LibraryError,
// never a crash, and a file set aside keeps its bytes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/LibraryStore.h"
#include "data/access/Uni.h"

namespace {

namespace fs = std::filesystem;

fs::path folder() {
  static const fs::path made = [] {
    std::string name = (fs::temp_directory_path() / "library_file_fuzzer.XXXXXX").string();
    if (!mkdtemp(name.data())) std::abort();
    return fs::path(name);
  }();
  return made;
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const auto& entry : fs::directory_iterator(folder())) fs::remove(entry.path());
  const fs::path file = folder() / "library.db";
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::ofstream(file, std::ios::binary) << input;
  try {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, file);
    if (!library.SetAside().empty() && bytesOf(library.SetAside()) != input) std::abort();
    library.Favourites();
    library.AddFavourite({1, "t", "a"}, "2026-12-10 10:00:00");
    library.AddToHistory({1, "t", "a"}, "2026-12-10 10:00:00");
    if (!library.IsFavourite({1, "t", "a"})) std::abort();
  } catch (const LibraryError&) {
  }
  return 0;
}
