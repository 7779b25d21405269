// The fuzzers' checks of file input, run over a few thousand inputs made the same way on every
// run: the fuzzers' seeds, then seeds mutated with the tokens that matter to each reader, and
// random bytes.

#include <gtest/gtest.h>

#include "fuzz/input_checks.h"
#include "tests/support/SeededMutation.h"

using seeded::Mutator;
using seeded::RunChecks;

TEST(FileInputChecks, CreateTableStatementsAndDeclaredTypes) {
  using namespace std::string_literals;
  RunChecks(CheckSchemaInput, SchemaSeeds(),
            Mutator(20240115, {"(", ")", ",", " ", "-1", "-2147483649", "99999999999", "0", "65535", "65536", "4095",
                               "4096", "'", "\"", "`", "[", "]", "primary", " key", "default ", "constraint ", "unique",
                               "varchar", "decimal", "numeric", "binary", "char", "int", "/*", "*/", "--", "\n",
                               "\xB0\x41", "\xB0", "\0"s}),
            4000);
}

TEST(FileInputChecks, DateAndTimeTextsWithAnyFormats) {
  using namespace std::string_literals;
  RunChecks(CheckDateTimeInput, DateTimeSeeds(),
            Mutator(19991231, {"-", ":", ".", "/", "\\", " ", "y", "yy", "yyyy", "m", "mm", "d", "dd", "h", "hh", "n",
                               "nn", "s", "ss", "zzz", "0", "00", "01", "12", "13", "23", "24", "29", "31", "59", "60",
                               "999", "1000", "2024", "9999", "10000", "999999999", "99999999999999999999", "\0"s}),
            4000);
}
