#include "skin/forms/SkinPictures.h"

#include <set>
#include <string>
#include <utility>

#include <QImage>

#include "skin/SkinDescription.h"
#include "skin/SkinRead.h"

namespace {

// Each bitmap decoded at most twice, plain and keyed, however many sections name it; the bytes
// of every image are counted against the budget before it is made.
class TBitmapCache {
 public:
  QImage Get(const TSkinBitmap& bitmap, bool keyed) {
    auto [it, fresh] = images_.try_emplace({bitmap.Name, keyed});
    if (!fresh) return it->second;
    if (!keyed) {
      charge(bitmap);
      const auto* bytes = reinterpret_cast<const uchar*>(bitmap.Bytes.data());
      it->second = QImage::fromData(bytes, static_cast<int>(bitmap.Bytes.size()), "BMP")
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
      return it->second;
    }
    // Without a key pixel the keyed image is the plain one, shared.
    QImage image = Get(bitmap, false);
    if (hasKey(image)) {
      charge(bitmap);
      for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
          if (row[x] == kSkinKeyColour) row[x] = 0;
      }
    }
    it->second = image;
    return image;
  }

 private:
  void charge(const TSkinBitmap& bitmap) {
    const std::size_t bytes = std::size_t{4} * static_cast<std::size_t>(bitmap.Width) *
                              static_cast<std::size_t>(bitmap.Height);
    if (bytes > kSkinPictureBudget - spent_)
      throw ESkinReadError("Skin pictures need more than " + std::to_string(kSkinPictureBudget >> 20) +
                           " MiB decoded (at bitmap \"" + bitmap.Name + "\")");
    spent_ += bytes;
  }

  static bool hasKey(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x)
        if (row[x] == kSkinKeyColour) return true;
    }
    return false;
  }

  std::map<std::pair<AnsiString, bool>, QImage> images_;
  std::size_t spent_ = 0;
};

TSkinPicture picture(QImage image, const TSkinImage& from) {
  TSkinPicture p;
  p.Image = std::move(image);
  p.LeftWidth = from.LeftWidth;
  p.RightWidth = from.RightWidth;
  p.TopHeight = from.TopHeight;
  p.BottomHeight = from.BottomHeight;
  p.Frame = from.Frame;
  p.Tile = from.Tile == 1;
  p.Style = from.Style;
  return p;
}

TSkinPicture whole(QImage image, int frames) {
  TSkinPicture p;
  p.Image = std::move(image);
  p.Frame = frames < 1 ? 1 : frames;
  return p;
}

// The frame sides keep their ends (TopHeight/BotHeight) along the side's length: the top and
// bottom sides run across, so their ends are left and right.
TSkinPicture side(QImage image, const TSkinFrameSide& s, bool across) {
  TSkinPicture p = whole(std::move(image), s.Frame);
  (across ? p.LeftWidth : p.TopHeight) = s.TopHeight;
  (across ? p.RightWidth : p.BottomHeight) = s.BotHeight;
  p.Tile = s.Stretch == 0;
  return p;
}

}  // namespace

TSkinPictures ReadSkinPictures(const TSkinDescription& d) {
  TBitmapCache cache;
  TSkinPictures pictures;
  auto add = [&](std::string_view name, TSkinPicture p) {
    if (!p.Image.isNull()) pictures[text::upperAscii(name)] = std::move(p);
  };
  for (const TSkinImage& image : d.Images)
    add(image.Section, picture(cache.Get(image.Bitmap, image.Trans == 1), image));
  for (const TSkinImage& image : d.Images)
    if (image.GlyphImage) add(image.Section + ".Glyph", whole(cache.Get(*image.GlyphImage, true), 1));
  if (d.Buttons.Button) add("Buttons", picture(cache.Get(d.Buttons.Button->Bitmap, true), *d.Buttons.Button));
  if (auto& b = d.Buttons.CheckButton) add("Buttons.CheckButton", whole(cache.Get(*b, true), d.Buttons.CheckButtonFrame));
  if (auto& b = d.Buttons.RadioButton) add("Buttons.RadioButton", whole(cache.Get(*b, true), d.Buttons.RadioButtonFrame));
  const TSkinPersonality& p = d.Personality;
  const std::pair<const char*, const TSkinFrameSide*> sides[] = {
      {"Personality.Left", &p.Left}, {"Personality.Right", &p.Right}, {"Personality.Top", &p.Top},
      {"Personality.Bottom", &p.Bottom}};
  for (auto [name, s] : sides)
    if (s->Image) add(name, side(cache.Get(*s->Image, s->Trans == 1), *s, s == &p.Top || s == &p.Bottom));
  if (p.TextBack) {
    TSkinPicture back = whole(cache.Get(*p.TextBack, true), 1);
    back.LeftWidth = p.TXTBackleft;
    back.RightWidth = p.TXTBackRight;
    add("Personality.TextBack", std::move(back));
  }
  if (p.MenuBar) {
    TSkinPicture bar = whole(cache.Get(*p.MenuBar, false), 1);
    bar.Tile = p.TileMenu == 1;
    add("Personality.MenuBar", std::move(bar));
  }
  if (d.MdiControls) add("MDICONTROLS", whole(cache.Get(*d.MdiControls, true), 1));
  for (const TSkinCaptionButton& button : d.CaptionButtons)
    if (button.ButtonImage) add(button.Section, whole(cache.Get(*button.ButtonImage, true), button.Frame));
  return pictures;
}

std::size_t SkinPictureBytes(const TSkinPictures& pictures) {
  std::set<qint64> counted;
  std::size_t bytes = 0;
  for (const auto& [name, picture] : pictures)
    if (counted.insert(picture.Image.cacheKey()).second) bytes += static_cast<std::size_t>(picture.Image.sizeInBytes());
  return bytes;
}
