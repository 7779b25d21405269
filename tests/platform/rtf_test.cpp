#include <gtest/gtest.h>

#include "platform/text/Rtf.h"

using rtf::isRichText;
using rtf::plainText;

TEST(RichText, KeepsTextAndLineBreaksAndDropsFormatting) {
  EXPECT_TRUE(isRichText("{\\rtf1 x}"));
  EXPECT_FALSE(isRichText("rtf1"));
  EXPECT_EQ(plainText("{\\rtf1\\ansi{\\fonttbl{\\f0 SimSun;}}{\\colortbl;\\red0\\green0\\blue0;}\\f0\\fs24 A\\par B\\line C\\tab D}"),
            "A\r\nB\r\nC\tD");
  EXPECT_EQ(plainText("{\\rtf1 \\'c3\\'f7\\'d4\\'c2}"), "\xC3\xF7\xD4\xC2") << "hex escapes are code page bytes";
  EXPECT_EQ(plainText("{\\rtf1 a\\{b\\}c\\\\d}"), "a{b}c\\d");
  EXPECT_EQ(plainText("{\\rtf1 {\\*\\generator Writer;}x{\\info{\\title t}}y}"), "xy");
}

TEST(RichText, UnicodeCharactersReplaceTheirFallbacks) {
  EXPECT_EQ(plainText("{\\rtf1 \\u26126?\\u26376?}"), "\xC3\xF7\xD4\xC2") << "明月 with one fallback each";
  EXPECT_EQ(plainText("{\\rtf1 \\uc2\\u26126\\'c3\\'f7x}"), "\xC3\xF7x") << "\\uc2: two fallback bytes";
  EXPECT_EQ(plainText("{\\rtf1 \\u-3?}"), "?") << "negative values wrap; a character outside GBK is '?'";
}

TEST(RichText, CutOffInputEndsCleanly) {
  EXPECT_EQ(plainText("{\\rtf1 abc\\"), "abc");
  EXPECT_EQ(plainText("{\\rtf1 abc\\'c"), "abc");
  EXPECT_EQ(plainText("{\\rtf1 {{{"), "");
  EXPECT_EQ(plainText("}}}x"), "x");
  EXPECT_EQ(plainText("{\\rtf1 \\u"), "");
}
