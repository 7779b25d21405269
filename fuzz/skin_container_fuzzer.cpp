// libFuzzer target for skin files and the containers inside them: the names, the size list and
// the files, and the description found among them. fuzz/skin_checks.h lists what must hold for
// every input.

#include <cstdint>

#include "fuzz/skin_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, SkinContainerSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckSkinContainerInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
