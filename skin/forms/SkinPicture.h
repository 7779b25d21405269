#pragma once
// A skin image ready to paint: the bitmap as a QImage (its key colour already transparent when
// the skin asks for it) with the slicing values of its section.
//
// Slicing: the bitmap holds `Frame` frames side by side (states such as normal, hot, pressed,
// disabled). Painting a frame into a rectangle keeps its four edges at their size and stretches
// the middle, or tiles it when `Tile` is set; a target smaller than the edges squeezes them.
// Scaling never smooths, so the shapes stay sharp at whole device-pixel ratios.

#include <QImage>
#include <QRect>

class QPainter;

// The colour a skin marks transparent pixels with.
inline constexpr QRgb kSkinKeyColour = 0xFFFF00FFu;

struct TSkinPicture {
  QImage Image;  // Format_ARGB32_Premultiplied
  int LeftWidth = 0, RightWidth = 0, TopHeight = 0, BottomHeight = 0;
  int Frame = 1;  // at least 1
  bool Tile = false;
  int Style = 0;

  int FrameWidth() const { return Frame > 0 ? Image.width() / Frame : Image.width(); }
  // The rectangle of frame `index` in Image; an index outside 0..Frame-1 takes the nearest.
  QRect FrameRect(int index) const;
};

// Paints frame `index` of `picture` into `target`.
void DrawSkinPicture(QPainter& painter, const QRect& target, const TSkinPicture& picture, int index);
