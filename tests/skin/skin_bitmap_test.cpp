// The bitmap check: sound bitmaps of every depth pass with their sizes, and a bitmap whose
// headers declare more than its bytes hold, or a kind the skin does not draw, is refused.

#include <gtest/gtest.h>

#include "fuzz/skin_checks.h"
#include "skin/SkinBitmap.h"

namespace {

void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void put16(std::string& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

// Info header fields, from the start of the file.
constexpr std::size_t kPixelsAt = 10, kWidth = 18, kHeight = 22, kPlanes = 26, kBitCount = 28, kCompression = 30,
                      kColoursUsed = 46;

// A bitmap with the 12-byte header of the oldest format: 24 bits, 3 x 2 pixels.
std::string coreBitmap() {
  std::string bmp = "BM";
  bmp.append(12 + 12, '\0');
  put32(bmp, kPixelsAt, 26);
  put32(bmp, 14, 12);
  put16(bmp, 18, 3);
  put16(bmp, 20, 2);
  put16(bmp, 22, 1);
  put16(bmp, 24, 24);
  bmp.append(2 * 12, '\x7F');
  return bmp;
}

}  // namespace

TEST(SkinBitmap, SoundBitmapsOfEveryDepthPass) {
  for (const int bitCount : {1, 4, 8, 16, 24, 32})
    for (const int width : {1, 3, 31, 32, 33}) {
      const auto info = ReadBitmapInfo(SampleBitmap(width, 5, bitCount));
      ASSERT_TRUE(info) << bitCount << " bits, " << width << " wide";
      EXPECT_EQ(info->Width, width);
      EXPECT_EQ(info->Height, 5);
      EXPECT_EQ(info->BitCount, bitCount);
    }
  std::string topDown = SampleBitmap(4, 3, 24);
  put32(topDown, kHeight, static_cast<std::uint32_t>(-3));
  ASSERT_TRUE(ReadBitmapInfo(topDown));
  EXPECT_EQ(ReadBitmapInfo(topDown)->Height, 3);
  const auto core = ReadBitmapInfo(coreBitmap());
  ASSERT_TRUE(core);
  EXPECT_EQ(core->Width, 3);
}

TEST(SkinBitmap, EveryDeclaredRowMustBeThere) {
  for (const int bitCount : {1, 8, 24}) {
    const std::string whole = SampleBitmap(7, 6, bitCount);
    EXPECT_TRUE(ReadBitmapInfo(whole));
    EXPECT_FALSE(ReadBitmapInfo(whole.substr(0, whole.size() - 1))) << bitCount;
    // One row more than the bytes hold, whichever way the rows run.
    std::string taller = whole;
    put32(taller, kHeight, 7);
    EXPECT_FALSE(ReadBitmapInfo(taller));
    put32(taller, kHeight, static_cast<std::uint32_t>(-7));
    EXPECT_FALSE(ReadBitmapInfo(taller));
    std::string wider = whole;
    put32(wider, kWidth, 7 * 32 / static_cast<std::uint32_t>(bitCount) + 32);
    EXPECT_FALSE(ReadBitmapInfo(wider));
  }
  std::string cutCore = coreBitmap();
  EXPECT_FALSE(ReadBitmapInfo(cutCore.substr(0, cutCore.size() - 1)));
}

TEST(SkinBitmap, HeadersAndTablesMustLieWithinTheBytes) {
  const std::string whole = SampleBitmap(4, 4, 8);
  std::string bad = whole;
  put32(bad, kPixelsAt, static_cast<std::uint32_t>(whole.size() + 1));
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "pixels after the end";
  bad = whole;
  put32(bad, kPixelsAt, 14 + 40 + 1023);
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "pixels inside the palette";
  bad = whole;
  put32(bad, 14, static_cast<std::uint32_t>(whole.size()));
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "header longer than the file";
  put32(bad, 14, 20);
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "header of no known length";
  bad = whole;
  put32(bad, kColoursUsed, 257);
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "more colours than 8 bits hold";
  // A palette that names fewer colours is shorter, and the pixels may start right after it.
  std::string fewer = whole;
  put32(fewer, kColoursUsed, 2);
  put32(fewer, kPixelsAt, 14 + 40 + 8);
  EXPECT_TRUE(ReadBitmapInfo(fewer));
  for (const std::size_t size : {0, 1, 2, 14, 17, 18, 53})
    EXPECT_FALSE(ReadBitmapInfo(whole.substr(0, size))) << size;
  EXPECT_FALSE(ReadBitmapInfo("XX" + whole.substr(2)));
}

TEST(SkinBitmap, OnlyKindsTheSkinDrawsPass) {
  const std::string whole = SampleBitmap(8, 8, 32);
  std::string bad = whole;
  put16(bad, kPlanes, 2);
  EXPECT_FALSE(ReadBitmapInfo(bad)) << "two planes";
  for (const std::uint32_t bitCount : {0u, 2u, 3u, 48u, 64u}) {
    bad = whole;
    put16(bad, kBitCount, bitCount);
    EXPECT_FALSE(ReadBitmapInfo(bad)) << bitCount << " bits";
  }
  for (const std::uint32_t compression : {1u, 2u, 4u, 5u, 7u}) {
    bad = whole;
    put32(bad, kCompression, compression);
    EXPECT_FALSE(ReadBitmapInfo(bad)) << "compression " << compression;
  }
  // Colour masks follow a 40-byte header and must be there.
  std::string masked = whole;
  put32(masked, kCompression, 3);
  EXPECT_FALSE(ReadBitmapInfo(masked)) << "pixels where the masks belong";
  masked.insert(14 + 40, std::string("\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 12));
  put32(masked, kPixelsAt, 14 + 40 + 12);
  EXPECT_TRUE(ReadBitmapInfo(masked));
  put32(masked, kPixelsAt, 14 + 40 + 11);
  EXPECT_FALSE(ReadBitmapInfo(masked));
  std::string masked24 = SampleBitmap(8, 8, 24);
  put32(masked24, kCompression, 3);
  EXPECT_FALSE(ReadBitmapInfo(masked24)) << "masks of 24 bits";
}

TEST(SkinBitmap, SidesAreBounded) {
  std::string side = SampleBitmap(1, 1, 1);
  EXPECT_TRUE(ReadBitmapInfo(side));
  for (const std::uint32_t width : {0u, static_cast<std::uint32_t>(-1), 0x80000000u}) {
    put32(side, kWidth, width);
    EXPECT_FALSE(ReadBitmapInfo(side)) << width;
  }
  // A one-bit row of 32768 pixels is 4096 bytes: the longest side passes when its bytes are
  // there, one more pixel does not however many bytes follow.
  std::string longest = SampleBitmap(1, 1, 1);
  put32(longest, kWidth, kMaxBitmapSide);
  EXPECT_FALSE(ReadBitmapInfo(longest));
  longest.append(4096, '\0');
  EXPECT_TRUE(ReadBitmapInfo(longest));
  put32(longest, kWidth, kMaxBitmapSide + 1);
  longest.append(4096, '\0');
  EXPECT_FALSE(ReadBitmapInfo(longest));
  std::string flat = SampleBitmap(1, 1, 24);
  put32(flat, kHeight, 0);
  EXPECT_FALSE(ReadBitmapInfo(flat));
  put32(flat, kHeight, 0x80000000u);
  EXPECT_FALSE(ReadBitmapInfo(flat));
}
