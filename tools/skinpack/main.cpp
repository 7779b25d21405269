// sici-skinpack: packs a folder of skin sources into a skin file, or into the skin stream that a
// window description embeds.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "skin/SkinWrite.h"
#include "tools/skinpack/SkinPack.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage =
    "usage: sici-skinpack [--stream] FOLDER OUTPUT\n"
    "  packs the description (.ini) and the bitmaps (.bmp) of FOLDER into a skin file\n"
    "  --stream  writes a window description's skin stream instead: a 4-byte length and the skin file\n";

// Through a file beside the output, so that a failed write never leaves half a skin behind.
void WriteOutput(const fs::path& output, const std::string& bytes) {
  const fs::path partial = output.string() + ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      throw ESkinPackError(output.string() + ": cannot write it");
    }
  }
  std::error_code error;
  fs::rename(partial, output, error);
  if (error) {
    fs::remove(partial, error);
    throw ESkinPackError(output.string() + ": cannot write it");
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool stream = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--stream") {
      stream = true;
    } else if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "sici-skinpack: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 2) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    const std::string skinFile = PackSkinFolder(paths[0]);
    WriteOutput(paths[1], stream ? SkinStreamOf(skinFile) : skinFile);
  } catch (const ESkinPackError& e) {
    std::cerr << "sici-skinpack: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
