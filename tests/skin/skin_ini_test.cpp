// The description's text: lines and their ends, comments, sections and keys without regard to
// case, the first section and key of a name winning, empty values, integers and colours.

#include <gtest/gtest.h>

#include "skin/SkinIni.h"

namespace {

// Every key line of the plain description below, as (section, key).
const std::pair<const char*, const char*> kKeys[] = {
    {"Colours", "ButtonFace"}, {"Colours", "Menubar"}, {"Buttons", "Bitmap"}, {"Buttons", "LeftWidth"},
    {"Personality", "Top"},    {"Personality", "Fonts"},
};

const char* const kPlain =
    "[Colours]\r\nButtonFace=212 208 200\r\nMenubar=1 2 3\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=0x1F\r\n"
    "[Personality]\r\nTop=top.bmp\r\nFonts=Tahoma,\xCB\xCE\xCC\xE5\r\n";

void expectSameValues(const TSkinIni& a, const TSkinIni& b) {
  for (const auto& [section, key] : kKeys) EXPECT_EQ(a.Value(section, key), b.Value(section, key)) << section << "." << key;
  EXPECT_EQ(a.Sections(), b.Sections());
}

}  // namespace

TEST(SkinIni, CommentsBlankLinesAndLineEndsChangeNothing) {
  const TSkinIni plain(kPlain);
  EXPECT_EQ(plain.Value("Buttons", "Bitmap"), "button.bmp");
  const TSkinIni commented(
      "; the skin's colours\r\n\r\n[Colours]\r\n   ; indented comment\r\nButtonFace=212 208 200\r\n\r\n\r\n"
      "Menubar=1 2 3\n;[Buttons]\n\n[Buttons]\rBitmap=button.bmp\r\rLeftWidth=0x1F\n\r"
      "[Personality]\r\n\t \r\nTop=top.bmp\r\nFonts=Tahoma,\xCB\xCE\xCC\xE5");
  expectSameValues(plain, commented);
  // A comment is only a line that starts with ";"; within a value it is text.
  EXPECT_EQ(TSkinIni("[a]\r\nb=1 ; not a comment\r\n").Value("a", "b"), "1 ; not a comment");
  EXPECT_EQ(TSkinIni("[a]\r\n ;b=1\r\n").Value("a", ";b"), std::nullopt);
}

TEST(SkinIni, SectionsAndKeysMatchWithoutRegardToCaseAndAreTrimmed) {
  const TSkinIni ini("  [ Personality ]  \r\n  TOP  =  top.bmp  \r\n\tfonts\t=\tA = B\t\r\n[\xB0\x61]\r\nk=v\r\n");
  EXPECT_EQ(ini.Sections(), std::vector<AnsiString>({"Personality", "\xB0\x61"}));
  EXPECT_EQ(ini.Value("PERSONALITY", "top"), "top.bmp");
  EXPECT_EQ(ini.Value("personality", "Fonts"), "A = B");  // only the first "=" separates
  EXPECT_TRUE(ini.HasSection("pERSONALITY"));
  // The second byte of a double-byte character is not a letter to fold.
  EXPECT_EQ(ini.Value("\xB0\x61", "K"), "v");
  EXPECT_FALSE(ini.HasSection("\xB0\x41"));
}

TEST(SkinIni, OnlyBracketedLinesStartSections) {
  const TSkinIni ini("[a]\r\n[b\r\nc]\r\nx=1\r\n[]\r\ny=2\r\n[\r\n]\r\nz=3\r\n");
  EXPECT_EQ(ini.Sections(), std::vector<AnsiString>({"a", ""}));
  EXPECT_EQ(ini.Value("a", "x"), "1");
  EXPECT_EQ(ini.Value("", "y"), "2");
  EXPECT_EQ(ini.Value("", "z"), "3");
  // A line without "=" is a key line of an empty key.
  EXPECT_EQ(ini.Value("a", ""), "[b");
  EXPECT_EQ(ini.Value("a", "[b"), std::nullopt);
}

TEST(SkinIni, AKeyIsReadFromItsOwnSectionOnly) {
  const TSkinIni ini("orphan=0\r\n[One]\r\nk=1\r\n[Two]\r\nk=2\r\nonly=2\r\n[Three]\r\n");
  EXPECT_EQ(ini.Value("One", "k"), "1");
  EXPECT_EQ(ini.Value("Two", "k"), "2");
  EXPECT_EQ(ini.Value("One", "only"), std::nullopt);
  EXPECT_EQ(ini.Value("Three", "k"), std::nullopt);
  EXPECT_EQ(ini.Value("", "orphan"), std::nullopt);
  EXPECT_EQ(ini.Value("Missing", "k"), std::nullopt);
}

TEST(SkinIni, TheFirstSectionAndTheFirstKeyOfANameWin) {
  const TSkinIni ini("[S]\r\nk=first\r\nK=second\r\n[s]\r\nk=third\r\nnew=4\r\n[T]\r\n[S]\r\nlate=5\r\n");
  EXPECT_EQ(ini.Value("S", "k"), "first");
  EXPECT_EQ(ini.Value("S", "new"), std::nullopt);
  EXPECT_EQ(ini.Value("S", "late"), std::nullopt);
  EXPECT_EQ(ini.Sections(), std::vector<AnsiString>({"S", "T"}));
}

TEST(SkinIni, AnEmptyValueYieldsTheDefault) {
  const TSkinIni ini("[S]\r\nempty=\r\nblank=   \r\nk=\r\nk=later\r\nn=7\r\nc=1 2 3\r\n");
  EXPECT_EQ(ini.Value("S", "empty"), std::nullopt);
  EXPECT_EQ(ini.ReadString("S", "blank", "default"), "default");
  EXPECT_EQ(ini.ReadInteger("S", "empty", -1), -1);
  EXPECT_EQ(ini.ReadColour("S", "empty", 0x123456), 0x123456u);
  // The empty first line of a key is the key's line: a later one is not looked at.
  EXPECT_EQ(ini.ReadString("S", "k", "default"), "default");
  EXPECT_EQ(ini.ReadInteger("S", "n", -1), 7);
  EXPECT_EQ(ini.ReadInteger("S", "missing", -1), -1);
  EXPECT_EQ(ini.ReadColour("S", "c", 0x123456), SkinRGB(1, 2, 3));
}

TEST(SkinIni, IntegersAreDecimalOrHexadecimal) {
  EXPECT_EQ(ParseSkinInteger("31"), 31);
  EXPECT_EQ(ParseSkinInteger("0x1F"), 31);
  EXPECT_EQ(ParseSkinInteger("0X1f"), 31);
  EXPECT_EQ(ParseSkinInteger("0031"), 31);
  EXPECT_EQ(ParseSkinInteger("-1"), -1);
  EXPECT_EQ(ParseSkinInteger("+5"), 5);
  EXPECT_EQ(ParseSkinInteger("-0x10"), -16);
  EXPECT_EQ(ParseSkinInteger("0"), 0);
  for (const char* notANumber : {"", "abc", "0x", "1F", "x1F", "$1F", "1 2", "3.5", "-", "+", "0x-1", "--1", "1e3"})
    EXPECT_EQ(ParseSkinInteger(notANumber), std::nullopt) << notANumber;
  // The edges of 32 bits, on both sides.
  EXPECT_EQ(ParseSkinInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseSkinInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseSkinInteger("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("0x7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseSkinInteger("0x80000000"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("99999999999999999999999"), std::nullopt);
  const TSkinIni ini("[S]\r\nhex=0x1F\r\ndec=31\r\nletters=abc\r\n");
  EXPECT_EQ(ini.ReadInteger("S", "hex", 0), ini.ReadInteger("S", "dec", 0));
  EXPECT_EQ(ini.ReadInteger("S", "letters", 42), 42);
}

TEST(SkinIni, ColoursTakeAnySeparatorAndMissingNumbersAreZero) {
  const TColorRef blanks = ParseSkinColour("10 20 30");
  EXPECT_EQ(blanks, SkinRGB(10, 20, 30));
  EXPECT_EQ(blanks, 0x1E140Au);
  for (const char* other : {"10,20,30", "10, 20, 30", "10;20;30", "r10g20b30", "(10/20/30)", "10\t20  30", "-10 -20 -30"})
    EXPECT_EQ(ParseSkinColour(other), blanks) << other;
  EXPECT_EQ(ParseSkinColour("255"), SkinRGB(255, 0, 0));
  EXPECT_EQ(ParseSkinColour("1 2"), SkinRGB(1, 2, 0));
  EXPECT_EQ(ParseSkinColour("none"), SkinRGB(0, 0, 0));
  EXPECT_EQ(ParseSkinColour("1 2 3 4"), SkinRGB(1, 2, 3));
  EXPECT_EQ(ParseSkinColour("0x1F"), SkinRGB(0, 1, 0));
  // Numbers beyond a byte stop at its largest value, however long they are.
  EXPECT_EQ(ParseSkinColour("255 256 99999999999999999999"), SkinRGB(255, 255, 255));
  EXPECT_EQ(ParseSkinColour("254"), SkinRGB(254, 0, 0));
}
