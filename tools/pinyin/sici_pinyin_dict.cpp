// sici-pinyin-dict: writes the pinyin dictionary sici.pinyin from the pinyin-pro data package.

#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/pinyin/PinyinPackage.h"

namespace {

constexpr const char* kUsage =
    "usage: sici-pinyin-dict --package DIR --out FILE\n"
    "  --package DIR  the unpacked @pinyin-pro/data@1.3.1 package, the folder that holds json/\n"
    "                 (tools/pinyin/fetch-pinyin-data prints it)\n"
    "  --out FILE     the dictionary to write, sici.pinyin\n";

}  // namespace

int main(int argc, char** argv) {
  std::string package;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--package" || arg == "--out") && i + 1 < argc) {
      (arg == "--package" ? package : out) = argv[++i];
    } else {
      const bool help = arg == "--help" || arg == "-h";
      std::cerr << (help ? "" : "sici-pinyin-dict: unknown argument " + arg + "\n") << kUsage;
      return help ? EXIT_SUCCESS : 2;
    }
  }
  if (package.empty() || out.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    const std::vector<text::PinyinEntry> entries = pinyin::ReadPinyinPackage(package);
    text::WritePinyinDictionary(out, entries);
    std::cout << out << ": " << entries.size() << " words\n";
  } catch (const std::exception& e) {
    std::cerr << "sici-pinyin-dict: " << e.what() << '\n';
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
