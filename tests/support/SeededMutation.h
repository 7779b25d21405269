#pragma once
// Runs a fuzzer's check over a few thousand inputs made the same way on every run: the
// fuzzer's seeds first, then seeds mutated with the tokens that matter to the reader, and
// random bytes. A check reports a fault by throwing; the failing input is printed in hex.

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace seeded {

// The bytes in hex, the first 512 of them.
inline std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes.substr(0, 512)) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return bytes.size() > 512 ? out + "..." : out;
}

struct MutationStyle {
  unsigned RandomBytes = 48;  // the most bytes of a wholly random input
  bool Truncates = false;     // whether a step may cut the input short
};

class Mutator {
 public:
  Mutator(unsigned seed, std::vector<std::string> tokens, MutationStyle style = {})
      : random_(seed), tokens_(std::move(tokens)), style_(style) {}

  std::string Mutate(std::string input) {
    for (unsigned steps = 1 + pick(4); steps > 0; --steps) {
      const std::size_t at = input.empty() ? 0 : pick(static_cast<unsigned>(input.size() + 1));
      switch (pick(style_.Truncates ? 7 : 6)) {
        case 0:
          if (!input.empty()) input[std::min(at, input.size() - 1)] = static_cast<char>(pick(256));
          break;
        case 1:
        case 2: input.insert(at, tokens_[pick(static_cast<unsigned>(tokens_.size()))]); break;
        case 3: input.erase(at, pick(8)); break;
        case 4: input.insert(at, input.substr(at, pick(16))); break;
        case 5:
          if (style_.Truncates) {
            input.resize(at);
            break;
          }
          [[fallthrough]];
        default: input = randomBytes(); break;
      }
    }
    return input;
  }

 private:
  unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  std::string randomBytes() {
    std::string bytes(pick(style_.RandomBytes), '\0');
    for (char& c : bytes) c = static_cast<char>(pick(256));
    return bytes;
  }

  std::mt19937 random_;
  std::vector<std::string> tokens_;
  MutationStyle style_;
};

inline void RunChecks(void (*check)(std::string_view), const std::vector<std::string>& seeds, Mutator mutator, int count) {
  std::mt19937 choose(7);
  for (int i = 0; i < count; ++i) {
    const std::string input =
        i < static_cast<int>(seeds.size()) ? seeds[static_cast<std::size_t>(i)] : mutator.Mutate(seeds[choose() % seeds.size()]);
    try {
      check(input);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n  input #" << i << ": " << Hex(input);
      return;
    }
  }
}

}  // namespace seeded
