// The skin fuzzers' picture checks over seeded inputs on every run: descriptions and skin files
// mutated with the tokens that change what the pictures are made of (frames, edges, keys, the
// images named), loaded and painted as the skin component does.

#include <gtest/gtest.h>

#include "fuzz/skin_checks.h"
#include "fuzz/skin_picture_checks.h"
#include "tests/support/SeededMutation.h"

using seeded::Mutator;
using seeded::RunChecks;

TEST(SkinPictureChecks, DescriptionsLoadedAndPainted) {
  RunChecks([](std::string_view input) { CheckSkinDescriptionInput(input, CheckSkinPictures); },
            SkinDescriptionSeeds(),
            Mutator(20261210, {"\r\n", "=", "0", "-1", "1", "2", "4", "99999", "2147483647", "0x7FFFFFFF", "Frame=",
                               "Frame=1000", "LeftWidth=", "RightWidth=", "TopHeight=", "BottomHeight=", "Trans=1",
                               "Tile=1", "Stretch=0", "TopFrame=", "ButtonImage=", "[Button", "[Personality]",
                               "Image=button.bmp", "Image=glyph.bmp", "GlyphImage=", "cut.bmp", "TXTBackleft="},
                    {64, true}),
            600);
}

TEST(SkinPictureChecks, SkinFilesLoadedAndPainted) {
  using namespace std::string_literals;
  RunChecks([](std::string_view input) { CheckSkinContainerInput(input, CheckSkinPictures); }, SkinContainerSeeds(),
            Mutator(20261211, {"\x70\x11\x01\0"s, "\xFF\xFF\xFF\xFF", "\0\0\0\0"s, "\r\n", ".ini", "BM", "Frame=",
                               "=0", "=-1"}, {64, true}),
            300);
}
