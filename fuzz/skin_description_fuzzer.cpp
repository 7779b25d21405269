// libFuzzer target for the text of a skin description: its sections, keys, integers, colours
// and the images it names. fuzz/skin_checks.h lists what must hold for every input.

#include <cstdint>

#include "fuzz/skin_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, SkinDescriptionSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckSkinDescriptionInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
