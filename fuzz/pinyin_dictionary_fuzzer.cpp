// libFuzzer target for the pinyin dictionary's loader: any bytes as a sici.pinyin file are
// refused or read into a dictionary that finds every word of the file with its reading.
// fuzz/pinyin_checks.h says what must hold.

#include <cstdint>

#include "fuzz/pinyin_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, PinyinDictionarySeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckPinyinDictionaryInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
