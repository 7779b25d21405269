#include "skin/SkinDescription.h"

#include <algorithm>

#include "platform/classes/TextCompare.h"
#include "skin/SkinBitmap.h"

namespace {

struct TColourKey {
  std::string_view Key;
  TColorRef TSkinColours::*Member;
};

constexpr TColourKey kColourKeys[] = {
    {"ButtonFace", &TSkinColours::ButtonFace},         {"WindowText", &TSkinColours::WindowText},
    {"Scrollbar", &TSkinColours::Scrollbar},           {"HilightText", &TSkinColours::HilightText},
    {"Hilight", &TSkinColours::Hilight},               {"Menubar", &TSkinColours::Menubar},
    {"Menu", &TSkinColours::Menu},                     {"MenuText", &TSkinColours::MenuText},
    {"ButtonText", &TSkinColours::ButtonText},         {"ButtonHilight", &TSkinColours::ButtonHilight},
    {"Buttonlight", &TSkinColours::Buttonlight},       {"ButtonShadow", &TSkinColours::ButtonShadow},
    {"ButtonDkShadow", &TSkinColours::ButtonDkShadow}, {"MenuBarText", &TSkinColours::MenuBarText},
    {"TitleTextActive", &TSkinColours::TitleTextActive}, {"TitleTextNoActive", &TSkinColours::TitleTextNoActive},
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

class TDescriptionReader {
 public:
  TDescriptionReader(const TSkinContainer& container, const TSkinIni& ini) : container_(container), ini_(ini) {}

  std::optional<TSkinBitmap> Bitmap(std::string_view section, std::string_view key) const {
    const auto name = ini_.Value(section, key);
    if (!name) return std::nullopt;
    const TSkinEntry* entry = container_.Find(*name);
    if (!entry) return std::nullopt;
    const auto info = ReadBitmapInfo(entry->Bytes);
    if (!info) return std::nullopt;
    return TSkinBitmap{entry->Name, container_.Bytes, entry->Bytes, info->Width, info->Height};
  }

  int Integer(std::string_view section, std::string_view key, int fallback = 0) const {
    return ini_.ReadInteger(section, key, fallback);
  }
  int Count(std::string_view section, std::string_view key) const { return std::max(1, Integer(section, key, 1)); }
  int Width(std::string_view section, std::string_view key) const { return std::max(0, Integer(section, key)); }

  std::optional<TSkinImage> Image(std::string_view section, std::string_view imageKey) const {
    std::optional<TSkinBitmap> bitmap = Bitmap(section, imageKey);
    if (!bitmap) return std::nullopt;
    TSkinImage image;
    image.Section = AnsiString(section);
    image.Bitmap = std::move(*bitmap);
    image.Style = Integer(section, "Style");
    image.LeftWidth = Width(section, "LeftWidth");
    image.RightWidth = Width(section, "RightWidth");
    image.TopHeight = Width(section, "TopHeight");
    image.BottomHeight = Width(section, "BottomHeight");
    image.Frame = Count(section, "Frame");
    image.Trans = Integer(section, "Trans");
    image.Tile = Integer(section, "Tile");
    if (image.Tile > 1) image.Tile = 0;
    image.NormalColour = Integer(section, "NormalColour", -1);
    image.MouseOverColour = Integer(section, "MouseOverColour", -1);
    image.PressedColour = Integer(section, "PressedColour", -1);
    image.NormalColour2 = ini_.ReadColour(section, "NormalColour2");
    image.MouseOverColour2 = ini_.ReadColour(section, "MouseOverColour2");
    image.PressedColour2 = ini_.ReadColour(section, "PressedColour2");
    return image;
  }

  TSkinFrameSide FrameSide(std::string_view prefix) const {
    const AnsiString p(prefix);
    TSkinFrameSide side;
    side.Image = Bitmap("Personality", p);
    side.Frame = Count("Personality", p + "Frame");
    side.Stretch = Integer("Personality", p + "Stretch");
    side.Trans = Integer("Personality", p + "Trans");
    side.TopHeight = Width("Personality", p + "TopHeight");
    side.BotHeight = Width("Personality", p + "BotHeight");
    return side;
  }

 private:
  const TSkinContainer& container_;
  const TSkinIni& ini_;
};

void ReadColours(const TSkinIni& ini, const TSkinColours& systemColours, TSkinDescription& skin) {
  for (const TColourKey& colour : kColourKeys)
    skin.Colours.*colour.Member = ini.ReadColour("Colours", colour.Key, systemColours.*colour.Member);
  if (!ini.ReadColour("Colours", "Menubar")) skin.Colours.Menubar = skin.Colours.ButtonFace;

  for (std::size_t i = 0; i < skin.CustomColors.size(); ++i)
    skin.CustomColors[i] = ini.ReadColour("Customcolors", "Color" + std::to_string(i), kSkinWhite);

  for (const AnsiString& section : ini.Sections()) {
    const AnsiString upper = text::upperAscii(section);
    if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
      skin.SectionColours.push_back({section, ini.ReadColour(section, "color")});
  }
}

void ReadCaptionButtons(const TSkinIni& ini, const TDescriptionReader& read, TSkinDescription& skin) {
  for (const AnsiString& section : ini.Sections()) {
    const AnsiString upper = text::upperAscii(section);
    if (!StartsWith(upper, "BUTTON") || upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
        upper == "BUTTON.CHECKBOX")
      continue;
    TSkinCaptionButton button;
    button.Section = section;
    button.Action = read.Integer(section, "Action");
    button.Visibility = read.Integer(section, "Visibility");
    if (button.Action == -1 && button.Visibility != 0) continue;
    if (skin.CaptionButtons.size() == kMaxCaptionButtons) break;
    button.ButtonImage = read.Bitmap(section, "ButtonImage");
    button.Align = read.Integer(section, "Align");
    button.Xcoord = read.Integer(section, "Xcoord");
    button.Ycoord = read.Integer(section, "Ycoord");
    button.Visibility1 = read.Integer(section, "Visibility1");
    button.CombineOp = read.Integer(section, "CombineOp");
    button.Frame = read.Count(section, "Frame");
    skin.CaptionButtons.push_back(std::move(button));
  }
}

void ReadButtons(const TDescriptionReader& read, TSkinButtons& buttons) {
  buttons.Button = read.Image("Buttons", "Bitmap");
  buttons.CheckButton = read.Bitmap("Buttons", "CheckButton");
  buttons.RadioButton = read.Bitmap("Buttons", "RadioButton");
  buttons.CheckButtonFrame = read.Count("Buttons", "CheckButtonFrame");
  buttons.RadioButtonFrame = read.Count("Buttons", "RadioButtonFrame");
}

void ReadPersonality(const TSkinIni& ini, const TDescriptionReader& read, TSkinPersonality& p) {
  constexpr std::string_view s = "Personality";
  p.Left = read.FrameSide("Left");
  p.Right = read.FrameSide("Right");
  p.Top = read.FrameSide("Top");
  p.Bottom = read.FrameSide("Bottom");
  p.TextBack = read.Bitmap(s, "TextBack");
  p.TextShift = read.Integer(s, "TextShift");
  p.TextShiftVert = read.Integer(s, "TextShiftVert");
  p.TextRightClip = read.Integer(s, "TextRightClip");
  p.TextAlignment = read.Integer(s, "TextAlignment");
  p.Textbackground = read.Integer(s, "Textbackground");
  p.FontHeight = read.Integer(s, "FontHeight");
  p.Fonts = ini.ReadString(s, "Fonts", "");
  p.TXTBackleft = read.Width(s, "TXTBackleft");
  p.TXTBackRight = read.Width(s, "TXTBackRight");
  p.ActiveText = ini.ReadColour(s, "ActiveText");
  p.InActiveText = ini.ReadColour(s, "InActiveText");
  p.MenuBar = read.Bitmap(s, "menuBar");
  p.TileMenu = read.Integer(s, "TileMenu");
  p.TileLeftMenu = read.Integer(s, "TileLeftMenu");
  p.TileRightMenu = read.Integer(s, "TileRightMenu");
}

void ReadImages(const TDescriptionReader& read, std::vector<TSkinImage>& images) {
  for (const std::string_view section : kSkinImageSections) {
    std::optional<TSkinImage> image = read.Image(section, section == "Progress" ? "Bitmap" : "Image");
    if (!image) continue;
    if (section == "Tabs") image->Border = read.Integer(section, "Border");
    if (section == "Tab.Pane")
      for (int* edge : {&image->LeftWidth, &image->RightWidth, &image->TopHeight, &image->BottomHeight})
        *edge = std::min(*edge, 4);
    if (section == "UpDown.Horz" || section == "UpDown.Vert") image->GlyphImage = read.Bitmap(section, "GlyphImage");
    if (section == "GroupBox") {
      image->BackgroundAlignment = read.Integer(section, "BackgroundAlignment");
      image->BackgroundLeftShift = read.Integer(section, "BackgroundLeftShift");
      image->BackgroundRightShift = read.Integer(section, "BackgroundRightShift");
    }
    if (section == "HorzScrollThumb" || section == "VertScrollThumb") image->FrameCount = read.Count(section, "FrameCount");
    images.push_back(std::move(*image));
  }
}

}  // namespace

const TSkinImage* TSkinDescription::Image(std::string_view section) const {
  for (const TSkinImage& image : Images)
    if (classes::sameText(image.Section, section)) return &image;
  return nullptr;
}

TSkinDescription ReadSkinDescription(TSkinContainer container, const TSkinColours& systemColours) {
  const TSkinEntry* description = container.Description();
  if (!description) throw ESkinReadError("Skin container holds no description (.ini)");
  TSkinDescription skin;
  skin.DescriptionName = description->Name;
  const TSkinIni ini(description->Bytes);
  skin.Container = std::move(container);
  const TDescriptionReader read(skin.Container, ini);

  skin.SkinName = ini.ReadString("TitlebarSkin", "SkinName", "");
  ReadColours(ini, systemColours, skin);
  ReadCaptionButtons(ini, read, skin);
  ReadButtons(read, skin.Buttons);
  ReadPersonality(ini, read, skin.Personality);
  skin.MdiControls = read.Bitmap("MDICONTROLS", "Image");
  ReadImages(read, skin.Images);
  return skin;
}
