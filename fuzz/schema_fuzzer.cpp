// libFuzzer target for what a database file's schema feeds the provider: the column
// definitions of a CREATE TABLE statement (ParseCreateTable) and the mapping of declared
// types to record layouts. fuzz/input_checks.h lists what must hold for every input.

#include <cstdint>

#include "fuzz/input_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  WriteSeeds(*argc, *argv, SchemaSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckSchemaInput(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
