// libFuzzer target for LZHUF, the compression of skin files: any bytes round-trip through the
// encoder, and any size and stream decode or are refused. fuzz/skin_checks.h lists what must
// hold for every input.

#include <cstdint>

#include "fuzz/skin_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, LzhufSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckLzhufInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
