// libFuzzer target for the reader of the Unihan files that sici-pinyin-dict takes readings from:
// any bytes as Unihan_Variants.txt and Unihan_Readings.txt (the input split at its first NUL)
// are refused with a message or give entries that name one character each, every old entry kept.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "platform/text/CodePoints.h"
#include "tools/pinyin/UnihanReadings.h"

namespace {

std::filesystem::path folder() {
  static const std::filesystem::path made = [] {
    std::string name = (std::filesystem::temp_directory_path() / "unihan_fuzzer.XXXXXX").string();
    if (!mkdtemp(name.data())) std::abort();
    return std::filesystem::path(name);
  }();
  return made;
}

void write(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(input.find('\0'), input.size());
  write(folder() / "Unihan_Variants.txt", input.substr(0, split));
  write(folder() / "Unihan_Readings.txt", input.substr(std::min(split + 1, input.size())));
  std::vector<text::PinyinEntry> entries = {{"答", "dá", 1e-8}, {"剑", "jiàn", 2e-8}};
  try {
    pinyin::AddUnihanReadings(entries, {folder() / "Unihan_Variants.txt"}, folder() / "Unihan_Readings.txt",
                              [](const std::string& s) { return s == "劍" ? std::string("剑") : s; });
  } catch (const std::runtime_error& e) {
    if (std::string_view(e.what()).find("Unihan_") == std::string_view::npos) std::abort();
    return 0;
  }
  if (entries.size() < 2 || entries[0].Word != "答" || entries[1].Word != "剑") std::abort();
  for (std::size_t i = 2; i < entries.size(); ++i)
    if (text::utf8ToCodePoints(entries[i].Word).size() != 1 || entries[i].Rate != 1e-8) std::abort();
  return 0;
}
