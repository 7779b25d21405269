// sici-pinyin-dict: writes the pinyin dictionary sici.pinyin from the pinyin-pro data package,
// and from the Unihan files for the characters that package lacks.

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/text/Simplifier.h"
#include "tools/pinyin/PinyinPackage.h"
#include "tools/pinyin/UnihanReadings.h"

namespace {

constexpr const char* kUsage =
    "usage: sici-pinyin-dict --package DIR [--unihan DIR] --out FILE\n"
    "  --package DIR  the unpacked @pinyin-pro/data@1.3.1 package, the folder that holds json/\n"
    "                 (tools/pinyin/fetch-pinyin-data prints it)\n"
    "  --unihan DIR   the folder that holds Unihan_Variants.txt, Unihan_IRGSources.txt and\n"
    "                 Unihan_Readings.txt, unpacked\n"
    "                 from Debian's unicode-data; without it, characters the package lacks stay\n"
    "                 without a reading\n"
    "  --out FILE     the dictionary to write, sici.pinyin\n";

}  // namespace

int main(int argc, char** argv) {
  std::string package;
  std::string unihan;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--package" || arg == "--unihan" || arg == "--out") && i + 1 < argc) {
      (arg == "--package" ? package : arg == "--unihan" ? unihan : out) = argv[++i];
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
    std::vector<text::PinyinEntry> entries = pinyin::ReadPinyinPackage(package);
    if (!unihan.empty()) {
      const text::Simplifier simplifier;
      const std::filesystem::path folder(unihan);
      pinyin::AddUnihanReadings(entries, {folder / "Unihan_Variants.txt", folder / "Unihan_IRGSources.txt"},
                                folder / "Unihan_Readings.txt",
                                [&](const std::string& s) { return simplifier(s); });
    }
    text::WritePinyinDictionary(out, entries);
    std::cout << out << ": " << entries.size() << " words\n";
  } catch (const std::exception& e) {
    std::cerr << "sici-pinyin-dict: " << e.what() << '\n';
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
