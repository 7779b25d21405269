// The skin fuzzers' checks, run over a few thousand inputs made the same way on every run: the
// fuzzers' seeds, then seeds mutated with the tokens that matter to each reader, and random
// bytes.

#include <gtest/gtest.h>

#include <random>

#include "fuzz/skin_checks.h"

namespace {

std::string hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : bytes.substr(0, 512)) {
    const auto b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return bytes.size() > 512 ? out + "..." : out;
}

class Mutator {
 public:
  Mutator(unsigned seed, std::vector<std::string> tokens) : random_(seed), tokens_(std::move(tokens)) {}

  std::string Mutate(std::string input) {
    for (unsigned steps = 1 + pick(4); steps > 0; --steps) {
      const std::size_t at = input.empty() ? 0 : pick(static_cast<unsigned>(input.size() + 1));
      switch (pick(7)) {
        case 0:
          if (!input.empty()) input[std::min(at, input.size() - 1)] = static_cast<char>(pick(256));
          break;
        case 1:
        case 2: input.insert(at, tokens_[pick(static_cast<unsigned>(tokens_.size()))]); break;
        case 3: input.erase(at, pick(8)); break;
        case 4: input.insert(at, input.substr(at, pick(16))); break;
        case 5: input.resize(at); break;
        default: input = randomBytes(); break;
      }
    }
    return input;
  }

 private:
  unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  std::string randomBytes() {
    std::string bytes(pick(64), '\0');
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

TEST(SkinInputChecks, LzhufStreams) {
  using namespace std::string_literals;
  runChecks(CheckLzhufInput, LzhufSeeds(),
            Mutator(20240301, {"\0"s, "\xFF", "\xFF\xFF", "\x8C\0\0"s, "\xE6\x80", "      ", "AAAAAAAAAAAAAAAA",
                               "\x10\x0F", "\0\x10"s}),
            2500);
}

TEST(SkinInputChecks, SkinContainersAndFiles) {
  using namespace std::string_literals;
  runChecks(CheckSkinContainerInput, SkinContainerSeeds(),
            Mutator(20240302, {"\x20\x4E\0\0"s, "\x30\x75\0\0"s, "\x70\x11\x01\0"s, "\xFF\xFF\xFF\xFF", "\0\0\0\0"s,
                               "\x01\0\0\0"s, "\r\n", "\n", "\r", ".ini", ".INI", "BM", "\xB0\x41"}),
            1500);
}

TEST(SkinInputChecks, SkinDescriptions) {
  runChecks(CheckSkinDescriptionInput, SkinDescriptionSeeds(),
            Mutator(20240303, {"[", "]", "=", ";", "\r\n", "\n", " ", "0x", "-1", "255", "2147483648", ",",
                               "[Personality]", "[Tab.Pane]", "[Button9]", "[Colours]", "[Colour.X]", "Image=",
                               "Bitmap=", "Frame=", "Tile=", "LeftWidth=", "Action=-1", "Visibility=1", "cut.bmp",
                               "text.bmp", "glyph.bmp", "tabs.bmp", "\xB0\x41"}),
            3000);
}
