// The reader's own skin as the packer packs it from assets/skin and as the program embeds it:
// the files and sections the skinners look for with the frames they count on, slicing that fits
// its bitmaps, caption buttons that sit in the caption and blend into it, key colour only where
// it is transparent, and text colours readable on what they are drawn on.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <set>

#include "app/ShippedSkin.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinDescription.h"
#include "tools/skinpack/SkinPack.h"

namespace {

// A value no description gives: a colour the skin lacks would show as one of these.
constexpr TColorRef kUnset = 0x7F000000;

const TSkinDescription& shipped() {
  static const TSkinDescription skin = [] {
    TSkinColours unset;
    TColorRef next = kUnset;
    for (TColorRef* c : {&unset.ButtonFace, &unset.WindowText, &unset.Scrollbar, &unset.HilightText, &unset.Hilight,
                         &unset.Menubar, &unset.Menu, &unset.MenuText, &unset.ButtonText, &unset.ButtonHilight,
                         &unset.Buttonlight, &unset.ButtonShadow, &unset.ButtonDkShadow, &unset.MenuBarText,
                         &unset.TitleTextActive, &unset.TitleTextNoActive})
      *c = next++;
    return ReadSkinDescription(ReadSkinFile(PackSkinFolder(SICI_SKIN_ASSETS)), unset);
  }();
  return skin;
}

QImage imageOf(const TSkinBitmap& bitmap) {
  return QImage::fromData(reinterpret_cast<const uchar*>(bitmap.Bytes.data()), static_cast<int>(bitmap.Bytes.size()),
                          "BMP")
      .convertToFormat(QImage::Format_RGB32);
}

QImage frameOf(const TSkinBitmap& bitmap, int frames, int index) {
  const QImage all = imageOf(bitmap);
  const int width = all.width() / frames;
  return all.copy(index * width, 0, width, all.height());
}

QRgb centre(const QImage& image) { return image.pixel(image.width() / 2, image.height() / 2); }

QRgb rgbOf(TColorRef c) { return qRgb(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c >> 16 & 0xFF)); }

// The most frequent colour of an image.
QRgb dominant(const QImage& image) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

// The contrast ratio of the Web Content Accessibility Guidelines, 1 to 21.
double contrast(QRgb a, QRgb b) {
  auto luminance = [](QRgb c) {
    auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool holdsKeyColour(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == qRgb(255, 0, 255)) return true;
  return false;
}

// Frames that are not all different would mean a state drawn like another, or frames cut in
// the wrong places.
void expectDistinctFrames(const TSkinBitmap& bitmap, int frames) {
  for (int i = 0; i < frames; ++i)
    for (int j = i + 1; j < frames; ++j)
      EXPECT_NE(frameOf(bitmap, frames, i), frameOf(bitmap, frames, j)) << bitmap.Name << " frames " << i << ", " << j;
}

}  // namespace

TEST(ShippedSkin, TheEmbeddedStreamIsAFreshPackOfTheAssets) {
  const std::string stream = ShippedSkinStream();
  ASSERT_FALSE(stream.empty());
  const std::string fresh = SkinStreamOf(PackSkinFolder(SICI_SKIN_ASSETS));
  EXPECT_TRUE(stream == fresh) << "embedded " << stream.size() << " bytes, fresh pack " << fresh.size()
                               << ": the build did not pack the assets again";
}

TEST(ShippedSkin, HoldsOneDescriptionAndThirtySevenBitmaps) {
  const TSkinContainer& container = shipped().Container;
  EXPECT_EQ(container.Version, 70000);
  ASSERT_EQ(container.Files.size(), 38u);
  int descriptions = 0;
  for (const TSkinEntry& file : container.Files) {
    if (file.Name.find(".ini") != AnsiString::npos) {
      ++descriptions;
      EXPECT_EQ(file.Name, shipped().DescriptionName);
      // 8-bit text with CR LF line ends only.
      const std::string_view text = file.Bytes;
      int lone = 0;
      for (std::size_t i = 0; i < text.size(); ++i)
        lone += (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ||
                (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
      EXPECT_EQ(lone, 0) << "line ends other than CR LF";
      EXPECT_TRUE(text.ends_with("\r\n"));
      continue;
    }
    EXPECT_TRUE(file.Name.ends_with(".bmp")) << file.Name;
    const auto info = ReadBitmapInfo(file.Bytes);
    ASSERT_TRUE(info) << file.Name;
    EXPECT_EQ(info->BitCount, 24) << file.Name;
    EXPECT_EQ(file.Bytes.substr(30, 4), std::string(4, '\0')) << file.Name << " is compressed";
  }
  EXPECT_EQ(descriptions, 1);
  EXPECT_EQ(shipped().SkinName, "Thread-bound Book");
}

TEST(ShippedSkin, EveryControlImageHasTheFramesItsSkinnerCounts) {
  const std::pair<std::string_view, int> sections[] = {
      {"Progress", 1}, {"Progress.Chunk", 1}, {"GroupBoxEdge", 1}, {"GroupBox", 1}, {"Tabs", 3},
      {"StatusBarEdges", 1}, {"Tab.Pane", 1}, {"ToolBars", 1}, {"ComboButton", 4}, {"SunkEdge", 2},
      {"Headerbar", 1}, {"MenuItem", 1}, {"MenuBackground", 1}, {"Scrollbar", 12}, {"HorzScroll", 1},
      {"VertScroll", 1}, {"HorzScrollThumb", 3}, {"VertScrollThumb", 3}, {"Trackbar.ThumbHorz", 3},
      {"Trackbar.ThumbVert", 3}, {"Track", 1}, {"TRACKVERT", 1}, {"UpDown.Horz", 3}, {"UpDown.Vert", 3}};
  EXPECT_EQ(shipped().Images.size(), std::size(sections));
  for (const auto& [section, frames] : sections) {
    const TSkinImage* image = shipped().Image(section);
    ASSERT_NE(image, nullptr) << section;
    EXPECT_EQ(image->Frame, frames) << section;
    ASSERT_EQ(image->Bitmap.Width % frames, 0) << section;
    const int width = image->Bitmap.Width / frames;
    EXPECT_LE(image->LeftWidth + image->RightWidth, width) << section;
    EXPECT_LE(image->TopHeight + image->BottomHeight, image->Bitmap.Height) << section;
    // The key colour shows as magenta wherever the section does not make it transparent.
    EXPECT_TRUE(image->Trans == 1 || !holdsKeyColour(imageOf(image->Bitmap))) << section;
    if (frames > 1) expectDistinctFrames(image->Bitmap, frames);
  }
  EXPECT_EQ(shipped().Image("HorzScrollThumb")->FrameCount, 3);
  EXPECT_EQ(shipped().Image("VertScrollThumb")->FrameCount, 3);

  const TSkinButtons& buttons = shipped().Buttons;
  ASSERT_TRUE(buttons.Button && buttons.CheckButton && buttons.RadioButton);
  EXPECT_EQ(buttons.Button->Frame, 5);
  EXPECT_EQ(buttons.Button->Bitmap.Width % 5, 0);
  expectDistinctFrames(buttons.Button->Bitmap, 5);
  for (const auto& [mark, frames] : {std::pair{*buttons.CheckButton, buttons.CheckButtonFrame},
                                     std::pair{*buttons.RadioButton, buttons.RadioButtonFrame}}) {
    EXPECT_EQ(frames, 8);
    EXPECT_EQ(mark.Width, 8 * 13) << mark.Name;
    EXPECT_EQ(mark.Height, 13) << mark.Name;
    expectDistinctFrames(mark, 8);
  }
  // Outside its circle a radio mark is transparent.
  EXPECT_EQ(frameOf(*buttons.RadioButton, 8, 0).pixel(0, 0), qRgb(255, 0, 255));
}

TEST(ShippedSkin, TheFrameIsACaptionBarAndFourPixelBordersInTwoStates) {
  const TSkinPersonality& p = shipped().Personality;
  for (const TSkinFrameSide* side : {&p.Left, &p.Right, &p.Top, &p.Bottom}) {
    ASSERT_TRUE(side->Image);
    EXPECT_EQ(side->Frame, 2) << side->Image->Name;
    EXPECT_EQ(side->Image->Width % 2, 0) << side->Image->Name;
    EXPECT_FALSE(side->Trans == 0 && holdsKeyColour(imageOf(*side->Image))) << side->Image->Name;
    expectDistinctFrames(*side->Image, 2);
  }
  EXPECT_GE(p.Top.Image->Height, 26);
  EXPECT_LE(p.Top.Image->Height, 30);
  EXPECT_EQ(p.Bottom.Image->Height, 4);
  EXPECT_EQ(p.Left.Image->Width / 2, 4);
  EXPECT_EQ(p.Right.Image->Width / 2, 4);
  ASSERT_TRUE(p.TextBack && p.MenuBar);
  EXPECT_FALSE(holdsKeyColour(imageOf(*p.MenuBar)));
  EXPECT_FALSE(p.Fonts.empty());
  EXPECT_GT(p.FontHeight, 0);
  EXPECT_LT(p.FontHeight, p.Top.Image->Height);
}

TEST(ShippedSkin, CaptionButtonsSitInTheCaptionAndBlendIntoIt) {
  const TSkinDescription& skin = shipped();
  const TSkinPersonality& p = skin.Personality;
  const int captionHeight = p.Top.Image->Height, border = p.Right.Image->Width / 2;
  ASSERT_EQ(skin.CaptionButtons.size(), 4u);
  // Close, maximise, restore, minimise: action and when each shows.
  const std::pair<int, int> expected[] = {{0, 0}, {1, 1}, {1, 2}, {2, 0}};
  std::set<int> lefts;
  for (std::size_t i = 0; i < 4; ++i) {
    const TSkinCaptionButton& b = skin.CaptionButtons[i];
    EXPECT_EQ(b.Section, "Button" + std::to_string(i));
    EXPECT_EQ(b.Action, expected[i].first) << b.Section;
    EXPECT_EQ(b.Visibility, expected[i].second) << b.Section;
    EXPECT_EQ(b.Align, 1) << b.Section;
    EXPECT_EQ(b.Frame, 4) << b.Section;
    ASSERT_TRUE(b.ButtonImage) << b.Section;
    ASSERT_EQ(b.ButtonImage->Width % 4, 0);
    const int width = b.ButtonImage->Width / 4, height = b.ButtonImage->Height;
    EXPECT_GE(b.Ycoord, 1);
    EXPECT_LE(b.Ycoord + height, captionHeight);
    EXPECT_GE(b.Xcoord - width, border) << b.Section << " reaches into the right border";
    lefts.insert(b.Xcoord);
    expectDistinctFrames(*b.ButtonImage, 4);
    // The normal and the inactive frames stand on the caption bar of their state.
    for (const auto& [frame, state] : {std::pair{0, 0}, std::pair{3, 1}}) {
      const QImage bar = frameOf(*p.Top.Image, 2, state);
      EXPECT_EQ(frameOf(*b.ButtonImage, 4, frame).pixel(0, 0), bar.pixel(bar.width() / 2, b.Ycoord)) << b.Section;
    }
  }
  // Maximise and restore share a place; the others do not overlap.
  EXPECT_EQ(skin.CaptionButtons[1].Xcoord, skin.CaptionButtons[2].Xcoord);
  ASSERT_EQ(lefts.size(), 3u);
  const int width = skin.CaptionButtons[0].ButtonImage->Width / 4;
  for (auto it = lefts.begin(); std::next(it) != lefts.end(); ++it) EXPECT_GE(*std::next(it) - *it, width);
  EXPECT_GE(p.TextRightClip, *lefts.rbegin());
}

TEST(ShippedSkin, EveryTextIsReadableOnWhatItIsDrawnOn) {
  const TSkinDescription& skin = shipped();
  const TSkinColours& c = skin.Colours;
  for (const TColorRef* colour : {&c.ButtonFace, &c.WindowText, &c.Scrollbar, &c.HilightText, &c.Hilight, &c.Menubar,
                                  &c.Menu, &c.MenuText, &c.ButtonText, &c.ButtonHilight, &c.Buttonlight,
                                  &c.ButtonShadow, &c.ButtonDkShadow, &c.MenuBarText, &c.TitleTextActive,
                                  &c.TitleTextNoActive})
    EXPECT_LT(*colour, 0x01000000u) << "a colour the skin does not give";

  EXPECT_GE(contrast(rgbOf(c.ButtonText), rgbOf(c.ButtonFace)), 4.5);
  EXPECT_GE(contrast(rgbOf(c.WindowText), rgbOf(c.ButtonFace)), 4.5);
  EXPECT_GE(contrast(rgbOf(c.HilightText), rgbOf(c.Hilight)), 4.5);
  EXPECT_GE(contrast(rgbOf(c.MenuText), rgbOf(c.Menu)), 4.5);
  EXPECT_GE(contrast(rgbOf(c.MenuBarText), rgbOf(c.Menubar)), 4.5);

  // The caption text stands on the title slip when the skin draws one, else on the bar.
  const TSkinPersonality& p = skin.Personality;
  ASSERT_TRUE(p.ActiveText && p.InActiveText);
  for (const auto& [text, state] : {std::pair{*p.ActiveText, 0}, std::pair{*p.InActiveText, 1}}) {
    const QRgb back = p.Textbackground == 1 ? centre(imageOf(*p.TextBack)) : dominant(frameOf(*p.Top.Image, 2, state));
    EXPECT_GE(contrast(rgbOf(text), back), 4.5) << "caption state " << state;
  }
  EXPECT_EQ(c.TitleTextActive, *p.ActiveText);
  EXPECT_EQ(c.TitleTextNoActive, *p.InActiveText);

  // Button and tab labels on every face but the disabled one; a highlighted menu item is written
  // in the selection's text colour.
  const TSkinImage& button = *skin.Buttons.Button;
  for (int frame : {0, 1, 2, 4})
    EXPECT_GE(contrast(rgbOf(c.ButtonText), centre(frameOf(button.Bitmap, 5, frame))), 4.5) << "button " << frame;
  for (int frame = 0; frame < 3; ++frame)
    EXPECT_GE(contrast(rgbOf(c.ButtonText), centre(frameOf(skin.Image("Tabs")->Bitmap, 3, frame))), 4.5);
  EXPECT_GE(contrast(rgbOf(c.HilightText), centre(imageOf(skin.Image("MenuItem")->Bitmap))), 4.5);
  EXPECT_GE(contrast(rgbOf(c.MenuText), centre(imageOf(skin.Image("MenuBackground")->Bitmap))), 4.5);
}
