// The skin fuzzers' checks, run over a few thousand inputs made the same way on every run: the
// fuzzers' seeds, then seeds mutated with the tokens that matter to each reader, and random
// bytes.

#include <gtest/gtest.h>

#include "fuzz/skin_checks.h"
#include "tests/support/SeededMutation.h"

using seeded::Mutator;
using seeded::RunChecks;

TEST(SkinInputChecks, LzhufStreams) {
  using namespace std::string_literals;
  RunChecks(CheckLzhufInput, LzhufSeeds(),
            Mutator(20240301, {"\0"s, "\xFF", "\xFF\xFF", "\x8C\0\0"s, "\xE6\x80", "      ", "AAAAAAAAAAAAAAAA",
                               "\x10\x0F", "\0\x10"s}, {64, true}),
            2500);
}

TEST(SkinInputChecks, SkinContainersAndFiles) {
  using namespace std::string_literals;
  RunChecks([](std::string_view input) { CheckSkinContainerInput(input); }, SkinContainerSeeds(),
            Mutator(20240302, {"\x20\x4E\0\0"s, "\x30\x75\0\0"s, "\x70\x11\x01\0"s, "\xFF\xFF\xFF\xFF", "\0\0\0\0"s,
                               "\x01\0\0\0"s, "\r\n", "\n", "\r", ".ini", ".INI", "BM", "\xB0\x41"}, {64, true}),
            1500);
}

TEST(SkinInputChecks, SkinDescriptions) {
  RunChecks([](std::string_view input) { CheckSkinDescriptionInput(input); }, SkinDescriptionSeeds(),
            Mutator(20240303, {"[", "]", "=", ";", "\r\n", "\n", " ", "0x", "-1", "255", "2147483648", ",",
                               "[Personality]", "[Tab.Pane]", "[Button9]", "[Colours]", "[Colour.X]", "Image=",
                               "Bitmap=", "Frame=", "Tile=", "LeftWidth=", "Action=-1", "Visibility=1", "cut.bmp",
                               "text.bmp", "glyph.bmp", "tabs.bmp", "\xB0\x41"}, {64, true}),
            3000);
}
