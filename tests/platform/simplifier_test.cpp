#include <gtest/gtest.h>

#include "platform/text/AnsiText.h"
#include "platform/text/Simplifier.h"

using text::Simplifier;

namespace {
std::size_t missingFromCodePage(const std::string& utf8) {
  std::size_t missing = 0;
  text::utf8ToAnsi(utf8, "?", &missing);
  return missing;
}
}  // namespace

TEST(Simplifier, KeepsTheOriginalWhereCodePage936LacksOnlyTheSimplifiedForm) {
  const Simplifier simplify;
  // t2s writes 鑪, 鸂 and 鶒 as characters of later Unicode extensions that code page 936 lacks;
  // 紅, 點 and 爐 have simplified forms the code page holds.
  std::size_t kept = 0;
  const std::string out = simplify("紅鑪點雪，爐火", &kept);
  EXPECT_EQ(out, "红鑪点雪，炉火");
  EXPECT_EQ(kept, 1u);
  EXPECT_EQ(missingFromCodePage(out), 0u);
  EXPECT_EQ(simplify("紅鑪點雪，爐火"), out) << "counting or not, the text is the same";

  EXPECT_EQ(simplify("繡衣鸂鶒", &kept), "绣衣鸂鶒");
  EXPECT_EQ(kept, 3u) << "the count adds up over calls";
}

TEST(Simplifier, LeavesWhatNeitherFormCanHoldAndMendsMarks) {
  const Simplifier simplify;
  std::size_t kept = 0;
  const std::string rare = simplify("𤩪瑤", &kept);
  EXPECT_EQ(rare, "𤩪瑶");
  EXPECT_EQ(kept, 0u);
  EXPECT_EQ(missingFromCodePage(rare), 1u) << "only the character outside the code page in both forms is lost";

  EXPECT_EQ(simplify("天淨沙・秋思", &kept), "天净沙·秋思") << "the katakana dot becomes the middle dot";
  EXPECT_EQ(simplify("山\u00A0水", &kept), "山 水");
  EXPECT_EQ(kept, 0u);
  EXPECT_EQ(simplify("plain ASCII"), "plain ASCII");
  EXPECT_EQ(simplify(""), "");
}
