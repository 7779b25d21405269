// libFuzzer target for date and time texts read and written with formats from option lines
// (DateFormat, TimeFormat). fuzz/input_checks.h lists what must hold for every input.

#include <cstdint>

#include "fuzz/input_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, DateTimeSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckDateTimeInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
