// Painting a skin picture: which frame, how the nine slices keep, stretch, repeat or squeeze,
// and that nothing smooths or reaches outside the frame or the target.

#include <set>

#include <gtest/gtest.h>

#include <QPainter>

#include "skin/forms/SkinPicture.h"

namespace {

constexpr QRgb kBackground = 0xFF000000u;

// A colour per slice (row, column) and frame.
QRgb sliceColour(int frame, int row, int col) { return qRgb(40 + 60 * frame, 20 + 70 * row, 20 + 70 * col); }

// Three frames of 8 × 6 pixels: left 2, right 3, top 1, bottom 2, each slice its own colour.
TSkinPicture slicedPicture() {
  TSkinPicture p;
  p.Frame = 3;
  p.LeftWidth = 2;
  p.RightWidth = 3;
  p.TopHeight = 1;
  p.BottomHeight = 2;
  p.Image = QImage(3 * 8, 6, QImage::Format_ARGB32_Premultiplied);
  for (int f = 0; f < 3; ++f)
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const int row = y < 1 ? 0 : y < 4 ? 1 : 2;
        const int col = x < 2 ? 0 : x < 5 ? 1 : 2;
        p.Image.setPixel(f * 8 + x, y, sliceColour(f, row, col));
      }
  return p;
}

QImage paint(const TSkinPicture& picture, const QSize& size, const QRect& target, int frame, qreal scale = 1) {
  QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
  image.fill(kBackground);
  image.setDevicePixelRatio(scale);
  QPainter painter(&image);
  DrawSkinPicture(painter, target, picture, frame);
  painter.end();
  return image;
}

int count(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

std::set<QRgb> coloursOf(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

}  // namespace

TEST(SkinPicture, AFrameIndexOutsideTheFramesTakesTheNearest) {
  const TSkinPicture p = slicedPicture();
  EXPECT_EQ(p.FrameWidth(), 8);
  EXPECT_EQ(p.FrameRect(0), QRect(0, 0, 8, 6));
  EXPECT_EQ(p.FrameRect(2), QRect(16, 0, 8, 6));
  EXPECT_EQ(p.FrameRect(7), QRect(16, 0, 8, 6));
  EXPECT_EQ(p.FrameRect(-4), QRect(0, 0, 8, 6));

  const QImage past = paint(p, {8, 6}, {0, 0, 8, 6}, 99);
  EXPECT_EQ(past.pixel(3, 2), sliceColour(2, 1, 1));
  const QImage before = paint(p, {8, 6}, {0, 0, 8, 6}, -1);
  EXPECT_EQ(before.pixel(3, 2), sliceColour(0, 1, 1));
}

TEST(SkinPicture, EdgesKeepTheirSizeWhileTheMiddleStretches) {
  const QImage image = paint(slicedPicture(), {50, 40}, {5, 4, 40, 30}, 1);
  // Corners at their size, edges as long as the target's middle, the middle filling the rest.
  EXPECT_EQ(count(image, sliceColour(1, 0, 0)), 2 * 1);
  EXPECT_EQ(count(image, sliceColour(1, 0, 2)), 3 * 1);
  EXPECT_EQ(count(image, sliceColour(1, 2, 0)), 2 * 2);
  EXPECT_EQ(count(image, sliceColour(1, 2, 2)), 3 * 2);
  EXPECT_EQ(count(image, sliceColour(1, 0, 1)), 35 * 1);
  EXPECT_EQ(count(image, sliceColour(1, 1, 0)), 2 * 27);
  EXPECT_EQ(count(image, sliceColour(1, 1, 1)), 35 * 27);
  EXPECT_EQ(image.pixel(5, 4), sliceColour(1, 0, 0));
  EXPECT_EQ(image.pixel(44, 33), sliceColour(1, 2, 2));
  // Nothing outside the target, nothing of another frame.
  EXPECT_EQ(count(image, kBackground), 50 * 40 - 40 * 30);
  for (QRgb c : coloursOf(image)) EXPECT_TRUE(c == kBackground || qRed(c) == qRed(sliceColour(1, 0, 0)));
}

TEST(SkinPicture, TiledMiddleRepeatsInsteadOfStretching) {
  TSkinPicture p;
  p.Image = QImage(6, 6, QImage::Format_ARGB32_Premultiplied);
  p.Image.fill(qRgb(200, 0, 0));
  p.LeftWidth = p.RightWidth = p.TopHeight = p.BottomHeight = 2;
  // A middle of two columns: blue, then green.
  for (int y = 2; y < 4; ++y) {
    p.Image.setPixel(2, y, qRgb(0, 0, 200));
    p.Image.setPixel(3, y, qRgb(0, 200, 0));
  }
  p.Tile = true;
  const QImage tiled = paint(p, {20, 10}, {0, 0, 20, 10}, 0);
  for (int x = 2; x < 18; ++x) EXPECT_EQ(tiled.pixel(x, 5), x % 2 == 0 ? qRgb(0, 0, 200) : qRgb(0, 200, 0)) << x;
  EXPECT_EQ(tiled.pixel(1, 5), qRgb(200, 0, 0));
  EXPECT_EQ(tiled.pixel(18, 5), qRgb(200, 0, 0));

  p.Tile = false;
  const QImage stretched = paint(p, {20, 10}, {0, 0, 20, 10}, 0);
  for (int x = 2; x < 10; ++x) EXPECT_EQ(stretched.pixel(x, 5), qRgb(0, 0, 200)) << x;
  for (int x = 10; x < 18; ++x) EXPECT_EQ(stretched.pixel(x, 5), qRgb(0, 200, 0)) << x;
}

TEST(SkinPicture, StaysSharpAtTwiceTheDevicePixels) {
  const QImage image = paint(slicedPicture(), {31, 23}, {0, 0, 31, 23}, 2, 2);
  // Every device pixel is one of the frame's own colours: nothing blended.
  std::set<QRgb> frame;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) frame.insert(sliceColour(2, r, c));
  for (QRgb c : coloursOf(image)) EXPECT_TRUE(frame.contains(c)) << std::hex << c;
  // The top-left corner, 2 × 1 logical pixels, is 4 × 2 device pixels.
  EXPECT_EQ(count(image, sliceColour(2, 0, 0)), 4 * 2);
}

TEST(SkinPicture, ATargetSmallerThanTheEdgesSqueezesThem) {
  const QImage image = paint(slicedPicture(), {10, 10}, {1, 1, 4, 2}, 0);
  // Width 4 shared 2 : 3 between the left and right edges (2 and 2 rounded), height 2 shared
  // 1 : 2 (1 and 1); no middle.
  EXPECT_EQ(count(image, kBackground), 100 - 8);
  EXPECT_EQ(count(image, sliceColour(0, 1, 1)), 0);
  EXPECT_EQ(count(image, sliceColour(0, 0, 1)), 0);
  EXPECT_EQ(image.pixel(1, 1), sliceColour(0, 0, 0));
  EXPECT_EQ(image.pixel(4, 2), sliceColour(0, 2, 2));
}

TEST(SkinPicture, DamagedSlicingNeverReachesOutside) {
  TSkinPicture wide = slicedPicture();
  wide.LeftWidth = 1000;
  wide.RightWidth = 1000;
  wide.TopHeight = -5;
  // The left edge takes the whole frame: it keeps its 8 pixels, and nothing is left to stretch.
  const QImage image = paint(wide, {30, 20}, {0, 0, 30, 20}, 1);
  EXPECT_EQ(count(image, kBackground), 30 * 20 - 8 * 20);
  for (QRgb c : coloursOf(image)) EXPECT_TRUE(c == kBackground || qRed(c) == qRed(sliceColour(1, 0, 0)));

  TSkinPicture tooManyFrames = slicedPicture();
  tooManyFrames.Frame = 1000;  // frames narrower than a pixel
  EXPECT_EQ(count(paint(tooManyFrames, {10, 10}, {0, 0, 10, 10}, 3), kBackground), 100);
  TSkinPicture none;
  none.Frame = 0;
  EXPECT_EQ(count(paint(none, {10, 10}, {0, 0, 10, 10}, 0), kBackground), 100);
  EXPECT_EQ(count(paint(slicedPicture(), {10, 10}, {3, 3, 0, 5}, 0), kBackground), 100);

  TSkinPicture onePixelTile = slicedPicture();
  onePixelTile.Tile = true;
  onePixelTile.LeftWidth = onePixelTile.RightWidth = onePixelTile.TopHeight = onePixelTile.BottomHeight = 0;
  const QImage huge = paint(onePixelTile, {64, 64}, {-100000, -100000, 200000, 200000}, 0);
  EXPECT_EQ(count(huge, kBackground), 0);
}
