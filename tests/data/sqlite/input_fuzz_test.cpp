// The fuzzers' checks of file input, run over a few thousand inputs made the same way on every
// run: the fuzzers' seeds, then seeds mutated with the tokens that matter to each reader, and
// random bytes.

#include <gtest/gtest.h>

#include <random>

#include "fuzz/input_checks.h"

namespace {

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

class Mutator {
 public:
  Mutator(unsigned seed, std::vector<std::string> tokens) : random_(seed), tokens_(std::move(tokens)) {}

  std::string Mutate(std::string input) {
    for (unsigned steps = 1 + pick(4); steps > 0; --steps) {
      const std::size_t at = input.empty() ? 0 : pick(static_cast<unsigned>(input.size() + 1));
      switch (pick(6)) {
        case 0:
          if (!input.empty()) input[std::min(at, input.size() - 1)] = static_cast<char>(pick(256));
          break;
        case 1:
        case 2: input.insert(at, tokens_[pick(static_cast<unsigned>(tokens_.size()))]); break;
        case 3: input.erase(at, pick(8)); break;
        case 4: input.insert(at, input.substr(at, pick(16))); break;
        default: input = randomBytes(); break;
      }
    }
    return input;
  }

 private:
  unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  std::string randomBytes() {
    std::string bytes(pick(48), '\0');
    for (char& c : bytes) c = static_cast<char>(pick(256));
    return bytes;
  }

  std::mt19937 random_;
  std::vector<std::string> tokens_;
};

void runChecks(void (*check)(std::string_view), const std::vector<std::string>& seeds, Mutator mutator, int count) {
  std::mt19937 choose(7);
  for (int i = 0; i < count; ++i) {
    const std::string input =
        i < static_cast<int>(seeds.size()) ? seeds[static_cast<std::size_t>(i)] : mutator.Mutate(seeds[choose() % seeds.size()]);
    try {
      check(input);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n  input #" << i << ": " << hex(input);
      return;
    }
  }
}

}  // namespace

TEST(FileInputChecks, CreateTableStatementsAndDeclaredTypes) {
  using namespace std::string_literals;
  runChecks(CheckSchemaInput, SchemaSeeds(),
            Mutator(20240115, {"(", ")", ",", " ", "-1", "-2147483649", "99999999999", "0", "65535", "65536", "4095",
                               "4096", "'", "\"", "`", "[", "]", "primary", " key", "default ", "constraint ", "unique",
                               "varchar", "decimal", "numeric", "binary", "char", "int", "/*", "*/", "--", "\n",
                               "\xB0\x41", "\xB0", "\0"s}),
            4000);
}

TEST(FileInputChecks, DateAndTimeTextsWithAnyFormats) {
  using namespace std::string_literals;
  runChecks(CheckDateTimeInput, DateTimeSeeds(),
            Mutator(19991231, {"-", ":", ".", "/", "\\", " ", "y", "yy", "yyyy", "m", "mm", "d", "dd", "h", "hh", "n",
                               "nn", "s", "ss", "zzz", "0", "00", "01", "12", "13", "23", "24", "29", "31", "59", "60",
                               "999", "1000", "2024", "9999", "10000", "999999999", "99999999999999999999", "\0"s}),
            4000);
}
