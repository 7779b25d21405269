// What a skin from outside may cost: a bitmap named by many sections is decoded once, the
// caption buttons read are bounded, and a skin whose pictures would decode beyond the budget is
// refused with a reason, the skin held before being dropped as for any damaged skin.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "fuzz/skin_checks.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinPictures.h"
#include "skin/forms/WinSkinData.h"

namespace {

std::string skinStream(const std::vector<TSkinFileData>& files) {
  return SkinStreamOf(CompressSkin(WriteSkinContainer(70000, files)));
}

// A 24-bit bitmap whose first pixel is the key colour, so every keyed use needs its own image.
std::string keyedBitmap(int width, int height) {
  std::string bitmap = SampleBitmap(width, height, 24);
  const std::size_t pixels = 14 + 40;
  bitmap[pixels] = '\xFF';
  bitmap[pixels + 1] = '\x00';
  bitmap[pixels + 2] = '\xFF';
  return bitmap;
}

}  // namespace

TEST(SkinPictureBudget, ManySectionsNamingOneBitmapShareItsImages) {
  std::string ini = "[Buttons]\r\nBitmap=big.bmp\r\n[GroupBox]\r\nImage=big.bmp\r\nTrans=1\r\n";
  for (int i = 0; i < 500; ++i)
    ini += "[Button" + std::to_string(i) + "]\r\nButtonImage=big.bmp\r\nAction=0\r\nFrame=2\r\n";
  TSkinData data(nullptr);
  data.ReadSkinStream(skinStream({{"skin.ini", ini}, {"big.bmp", keyedBitmap(512, 256)}}));
  ASSERT_FALSE(data.Empty()) << data.LoadError();

  EXPECT_EQ(data.Description()->CaptionButtons.size(), kMaxCaptionButtons) << "the rest are not read";
  EXPECT_EQ(data.Picture("Button" + std::to_string(kMaxCaptionButtons)), nullptr);
  std::set<qint64> images;
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < kMaxCaptionButtons; ++i) {
    const TSkinPicture* button = data.Picture("Button" + std::to_string(i));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(qAlpha(button->Image.pixel(0, button->Image.height() - 1)), 0) << "keyed";
    if (images.insert(button->Image.cacheKey()).second) bytes += static_cast<std::size_t>(button->Image.sizeInBytes());
  }
  EXPECT_EQ(images.size(), 1u) << "one keyed image for every section";
  EXPECT_EQ(data.Picture("GroupBox")->Image.cacheKey(), *images.begin());
  EXPECT_EQ(data.Picture("Buttons")->Image.cacheKey(), *images.begin());
  EXPECT_EQ(bytes, std::size_t{512} * 256 * 4);
}

TEST(SkinPictureBudget, AKeyedUseOfABitmapWithoutTheKeyCostsNothingMore) {
  const std::string ini = "[GroupBox]\r\nImage=plain.bmp\r\n[Tabs]\r\nImage=plain.bmp\r\nTrans=1\r\n";
  TSkinData data(nullptr);
  data.ReadSkinStream(skinStream({{"skin.ini", ini}, {"plain.bmp", SampleBitmap(64, 32, 8)}}));
  ASSERT_FALSE(data.Empty()) << data.LoadError();
  EXPECT_EQ(data.Picture("GroupBox")->Image.cacheKey(), data.Picture("Tabs")->Image.cacheKey());
}

TEST(SkinPictureBudget, PicturesBeyondTheBudgetRefuseTheSkinWithItsReason) {
  // One-bit bitmaps of 2048 × 2048 pixels: 512 KiB each in the file, 16 MiB each decoded.
  const auto skinOf = [](int bitmaps) {
    std::vector<TSkinFileData> files{{"skin.ini", ""}};
    const char* sections[] = {"GroupBox", "Tabs", "Headerbar", "SunkEdge", "MenuItem"};
    for (int i = 0; i < bitmaps; ++i) {
      const std::string name = "b" + std::to_string(i) + ".bmp";
      files[0].Bytes += std::string("[") + sections[i] + "]\r\nImage=" + name + "\r\n";
      std::string bitmap = SampleBitmap(2048, 2048, 1);
      bitmap.back() = static_cast<char>(i);  // no two alike
      files.push_back({name, std::move(bitmap)});
    }
    return skinStream(files);
  };
  TSkinData within(nullptr);
  within.ReadSkinStream(skinOf(3));
  ASSERT_FALSE(within.Empty()) << within.LoadError();
  EXPECT_NE(within.Picture("Headerbar"), nullptr);

  TSkinData beyond(nullptr);
  beyond.ReadSkinStream(skinOf(5));
  EXPECT_TRUE(beyond.Empty());
  EXPECT_EQ(beyond.Picture("GroupBox"), nullptr) << "nothing half-loaded";
  EXPECT_NE(beyond.LoadError().find("64 MiB"), std::string::npos) << beyond.LoadError();
}
