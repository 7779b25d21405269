#include <gtest/gtest.h>

#include "platform/text/AnsiText.h"
#include "platform/text/QtText.h"

using namespace text;

namespace {
const std::string kPoemUtf8 = "床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。";
const AnsiString kPoemGbk =
    "\xB4\xB2\xC7\xB0\xC3\xF7\xD4\xC2\xB9\xE2\xA3\xAC\xD2\xC9\xCA\xC7\xB5\xD8\xC9\xCF\xCB\xAA\xA1\xA3\r\n"
    "\xBE\xD9\xCD\xB7\xCD\xFB\xC3\xF7\xD4\xC2\xA3\xAC\xB5\xCD\xCD\xB7\xCB\xBC\xB9\xCA\xCF\xE7\xA1\xA3";
}  // namespace

TEST(CodePage936, ConvertsRealPoemTextBothWays) {
  EXPECT_EQ(utf8ToAnsi(kPoemUtf8), kPoemGbk);
  EXPECT_EQ(ansiToUtf8(kPoemGbk), kPoemUtf8);
  EXPECT_EQ(wideToAnsi(ansiToWide(kPoemGbk)), kPoemGbk);
  EXPECT_TRUE(isValidAnsi(kPoemGbk));
  EXPECT_EQ("明月"_gbk, "\xC3\xF7\xD4\xC2");
  EXPECT_EQ(&"明月"_gbk, &"明月"_gbk) << "a literal is converted once and kept";
}

TEST(CodePage936, RoundTripsEveryDefinedDoubleByteCharacter) {
  std::size_t defined = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const AnsiString pair{static_cast<char>(lead), static_cast<char>(trail)};
      const WideString wide = ansiToWide(pair);
      if (wide.front() == u'\uFFFD') continue;
      ++defined;
      ASSERT_EQ(wide.size(), 1u) << std::hex << lead << ' ' << trail;
      ASSERT_EQ(wideToAnsi(wide), pair) << std::hex << lead << ' ' << trail;
    }
  }
  // glibc's CP936 defines 21791 pairs (GB2312's 7445 characters and GBK's extensions); a table
  // that lost a region would fall far short of that.
  EXPECT_GE(defined, 21791u);
}

TEST(CodePage936, MalformedInputBecomesReplacementWithoutOverrun) {
  EXPECT_EQ(ansiToWide("a\xB4"), u"a\uFFFD") << "lead byte cut off at the end";
  EXPECT_EQ(ansiToWide("\xB4 "), u"\uFFFD ") << "an invalid trail byte is not swallowed";
  EXPECT_EQ(ansiToWide("\xB4" "a"), u"\u78BC") << "ASCII letters are valid trail bytes";
  EXPECT_EQ(ansiToWide("\xFF"), u"\uFFFD");
  EXPECT_EQ(ansiToWide("\x80"), u"\u20AC");
  EXPECT_EQ(ansiToWide(std::string_view("a\0b", 3)), WideString(u"a\0b", 3));
  EXPECT_FALSE(isValidAnsi("\xB4"));
  EXPECT_FALSE(isValidAnsi("\xB4\x7F"));
  EXPECT_TRUE(isValidAnsi(""));
}

TEST(CodePage936, CharactersOutsideTheCodePageAreReplacedAndCounted) {
  std::size_t replaced = 0;
  // U+20000 (a CJK Extension B character, a surrogate pair) and U+0E01 (Thai) are not in GBK.
  const WideString wide = u"\U00020000" u"\u0E01" u"月";
  EXPECT_EQ(wideToAnsi(wide, kGetaMark, &replaced), "\xA1\xFE\xA1\xFE\xD4\xC2");
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(wideToAnsi(u"\xD800"), "?") << "a lone surrogate is one missing character";
}

TEST(Utf8, BoundedOutputNeverEndsInACutSequence) {
  const WideString wide = u"月\U0001F319";  // 3 + 4 UTF-8 bytes
  EXPECT_EQ(wideToUtf8(wide), "月\U0001F319");
  EXPECT_EQ(wideToUtf8(wide, 6), "月");
  EXPECT_EQ(wideToUtf8(wide, 2), "");
  EXPECT_EQ(wideToUtf8(u"a\xD83C"), "a") << "a trailing high surrogate is dropped";
  EXPECT_EQ(wideToUtf8(u"\xDC00" "a"), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(wideToUtf8(u"\xD83C" "a"), "\xEF\xBF\xBD" "a");
}

TEST(Utf8, DecodingDropsCutEndingsAndReplacesMalformedSequences) {
  EXPECT_EQ(utf8ToWide("a\xE6\x9C"), u"a") << "sequence cut off at the end";
  EXPECT_EQ(utf8ToWide("\xF0\x9F\x8C\x99"), u"\U0001F319");
  EXPECT_EQ(utf8ToWide("\xF0\x9F\x8C\x99", 1), u"") << "a pair that does not fit is left out whole";
  EXPECT_EQ(utf8ToWide("\xE0\x80\xAF"), u"\uFFFD") << "overlong";
  EXPECT_EQ(utf8ToWide("\xC0\xAF"), u"\uFFFD\uFFFD") << "C0 never starts a sequence";
  EXPECT_EQ(utf8ToWide("\xED\xA0\x80"), u"\uFFFD") << "encoded surrogate";
  EXPECT_EQ(utf8ToWide("\xF4\x90\x80\x80"), u"\uFFFD") << "past U+10FFFF";
  EXPECT_EQ(utf8ToWide("\x80" "a"), u"\uFFFD" "a");
  EXPECT_EQ(utf8ToWide("\xE6" "a"), u"\uFFFD" "a") << "the byte that broke the sequence is kept";
}

TEST(QtBoundary, QStringCarriesGbkTextBothWays) {
  const QString q = toQString(kPoemGbk);
  EXPECT_EQ(q, QString::fromUtf8(kPoemUtf8.c_str()));
  EXPECT_EQ(fromQString(q), kPoemGbk);
  EXPECT_EQ(fromQString(QString()), "");
}

TEST(AnsiHelpers, TrimAndUpperCaseLeaveDoubleByteCharactersAlone) {
  EXPECT_EQ(trimmed(" \t\r\n ab c\x01 "), "ab c");
  EXPECT_EQ(trimmed("   "), "");
  EXPECT_EQ(trimmed(kPoemGbk), kPoemGbk);
  // 0xB0 0x61 is one character whose second byte happens to be 'a'.
  EXPECT_EQ(upperAscii("select \xB0\x61 x"), "SELECT \xB0\x61 X");
  EXPECT_EQ(upperAscii("\xB0"), "\xB0") << "a lone lead byte at the end";
}

TEST(AnsiHelpers, FindingTextMatchesWholeCharactersOnly) {
  const AnsiString chen = utf8ToAnsi("陈璠");  // 璠 is AD 5B: its second byte is "["
  ASSERT_EQ(chen.substr(2), "\xAD\x5B");
  EXPECT_EQ(findText(chen, "["), AnsiString::npos) << "never inside a double-byte character";
  EXPECT_EQ(findText(chen + "[", "["), 4u) << "a real bracket after it";
  EXPECT_EQ(findText(chen, utf8ToAnsi("璠")), 2u);
  // A search that begins with a trail byte may not pair it with the next character's lead.
  EXPECT_EQ(findText("\xB0\x61\xB0\x61", "\x61\xB0"), AnsiString::npos);
  EXPECT_EQ(findText("a\xB0\x61", "a"), 0u);
  EXPECT_EQ(findText("\xB0\x61" "a", "a"), 2u);
  EXPECT_EQ(findText("abc", ""), 0u);
  EXPECT_EQ(findText("", "a"), AnsiString::npos);
  EXPECT_EQ(findText("\xB0", "\xB0"), 0u) << "a lone lead byte at the end is still a character";
}

TEST(StrictUtf8, TakesWellFormedCharactersAndRefusesEverythingElseWithoutMoving) {
  using namespace std::string_view_literals;
  const std::string_view text = "a\xC3\xBC\xE6\x9C\x88\xF0\xA0\x80\x80\xEF\xBF\xBD"sv;  // a ü 月 𠀀 U+FFFD
  std::size_t pos = 0;
  for (const char32_t expected : {U'a', U'ü', U'月', U'\U00020000', U'\uFFFD'}) {
    const std::optional<char32_t> c = text::strictUtf8Character(text, pos);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(*c, expected);
  }
  EXPECT_EQ(pos, text.size());
  EXPECT_FALSE(text::strictUtf8Character(text, pos)) << "nothing after the end";
  for (const std::string_view bad : {"\xC0\xAF"sv, "\xE0\x80\xAF"sv, "\xED\xA0\x80"sv, "\xF4\x90\x80\x80"sv, "\x80"sv,
                                     "\xE6\x9C"sv, "\xE6\x41\x88"sv}) {
    std::size_t at = 0;
    EXPECT_FALSE(text::strictUtf8Character(bad, at));
    EXPECT_EQ(at, 0u);
  }
}
