#include "fuzz/skin_picture_checks.h"

#include <algorithm>
#include <string_view>

#include <QImage>
#include <QPainter>

#include "fuzz/input_checks.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinDescription.h"
#include "skin/forms/SkinPictures.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) throw EInputCheck(what);
}

}  // namespace

void CheckSkinPictures(const TSkinDescription& description) {
  TSkinPictures pictures;
  try {
    pictures = ReadSkinPictures(description);
  } catch (const ESkinReadError& error) {
    require(std::string_view(error.what()).find("MiB") != std::string_view::npos, "a skin refused for no budget");
    return;
  }
  require(SkinPictureBytes(pictures) <= kSkinPictureBudget, "pictures beyond the budget");
  QImage target(48, 40, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&target);
  for (const auto& [name, picture] : pictures) {
    require(!picture.Image.isNull(), "a null picture kept");
    require(picture.Image.width() <= kMaxBitmapSide && picture.Image.height() <= kMaxBitmapSide, "a picture too large");
    require(picture.Frame >= 1, "a picture of no frames");
    require(picture.LeftWidth >= 0 && picture.RightWidth >= 0 && picture.TopHeight >= 0 && picture.BottomHeight >= 0,
            "a negative edge");
    const int frames = std::min(picture.Frame, 8);
    for (int frame = -1; frame <= frames; ++frame) {
      const QRect rect = picture.FrameRect(frame);
      require(picture.Image.rect().contains(rect) || rect.isEmpty(), "a frame outside its image");
      for (const QRect& into : {QRect(0, 0, 48, 40), QRect(3, 2, 1, 1), QRect(0, 0, 0, 5), QRect(-10, -10, 300, 7)})
        DrawSkinPicture(painter, into, picture, frame);
    }
  }
}
