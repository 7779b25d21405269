#pragma once
// What a skin's description gives, read from its container: the skin's name, its colours, the
// caption buttons, the push buttons, the window frame and caption, and the image objects of the
// controls, each with its bitmap as the file's bytes.
//
// A value the description lacks (or that does not read as its kind) takes its default. An
// image is kept only when the named file is in the container and passes ReadBitmapInfo; an
// image object without one is not kept at all. Frame counts below 1 count as 1 and edge widths
// below 0 as 0, so that slicing a bitmap never divides by zero or reaches outside it.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinIni.h"
#include "skin/SkinRead.h"

struct TSkinBitmap {
  AnsiString Name;  // the container's file name
  std::shared_ptr<const std::string> Storage;  // keeps Bytes alive
  std::string_view Bytes;                      // the whole .bmp file
  int Width = 0;
  int Height = 0;
};

// The "Colours" section. The reader's caller gives the system colours for the keys the skin
// lacks; "Menubar" then takes the "ButtonFace" value instead of its own.
struct TSkinColours {
  TColorRef ButtonFace = 0, WindowText = 0, Scrollbar = 0, HilightText = 0, Hilight = 0, Menubar = 0, Menu = 0,
            MenuText = 0, ButtonText = 0, ButtonHilight = 0, Buttonlight = 0, ButtonShadow = 0,
            ButtonDkShadow = 0, MenuBarText = 0, TitleTextActive = 0, TitleTextNoActive = 0;
};

// A section that names a colour ("color") on its own: every section whose name begins with
// "COLOUR", other than "COLOURS".
struct TSkinSectionColour {
  AnsiString Section;
  std::optional<TColorRef> Color;
};

// The slicing of a bitmap: edges that keep their size while the middle stretches or tiles,
// the number of frames side by side (states such as normal, hot, pressed, disabled), whether a
// key colour is transparent and whether the middle is tiled.
struct TSkinImage {
  AnsiString Section;
  TSkinBitmap Bitmap;
  int Style = 0;
  int LeftWidth = 0, RightWidth = 0, TopHeight = 0, BottomHeight = 0;
  int Frame = 1;
  int Trans = 0;
  int Tile = 0;  // a value above 1 counts as 0
  int NormalColour = -1, MouseOverColour = -1, PressedColour = -1;
  std::optional<TColorRef> NormalColour2, MouseOverColour2, PressedColour2;
  int Border = 0;                                                           // "Tabs"
  std::optional<TSkinBitmap> GlyphImage;                                    // "UpDown.Horz", "UpDown.Vert"
  int BackgroundAlignment = 0, BackgroundLeftShift = 0, BackgroundRightShift = 0;  // "GroupBox"
  int FrameCount = 1;  // "HorzScrollThumb", "VertScrollThumb"
};

struct TSkinButtons {
  std::optional<TSkinImage> Button;  // from "Bitmap" and the slicing keys
  std::optional<TSkinBitmap> CheckButton, RadioButton;
  int CheckButtonFrame = 1, RadioButtonFrame = 1;
};

// A caption holds a handful of buttons; sections beyond this many are not read, so a skin cannot
// make a window walk thousands of them at every paint.
inline constexpr std::size_t kMaxCaptionButtons = 32;

struct TSkinCaptionButton {
  AnsiString Section;
  std::optional<TSkinBitmap> ButtonImage;
  int Align = 0, Xcoord = 0, Ycoord = 0, Action = 0, Visibility = 0, Visibility1 = 0, CombineOp = 0, Frame = 1;
};

// One side of the window frame ("Left", "Right", "Top", "Bottom").
struct TSkinFrameSide {
  std::optional<TSkinBitmap> Image;
  int Frame = 1, Stretch = 0, Trans = 0, TopHeight = 0, BotHeight = 0;
};

// The "Personality" section: the window frame, the caption text and the menu bar.
struct TSkinPersonality {
  TSkinFrameSide Left, Right, Top, Bottom;
  std::optional<TSkinBitmap> TextBack;
  int TextShift = 0, TextShiftVert = 0, TextRightClip = 0, TextAlignment = 0, Textbackground = 0, FontHeight = 0;
  AnsiString Fonts;
  int TXTBackleft = 0, TXTBackRight = 0;
  std::optional<TColorRef> ActiveText, InActiveText;
  std::optional<TSkinBitmap> MenuBar;
  int TileMenu = 0, TileLeftMenu = 0, TileRightMenu = 0;
};

// The sections of the image objects, in the order they are read; "Progress" names its image
// with "Bitmap", the others with "Image".
inline constexpr std::array<std::string_view, 29> kSkinImageSections = {
    "Progress", "Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars",
    "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar",
    "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz",
    "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
    "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Track", "TRACKVERT",
};

struct TSkinDescription {
  TSkinContainer Container;
  AnsiString DescriptionName;  // the container's file the description was read from
  AnsiString SkinName;
  TSkinColours Colours;
  std::vector<TSkinSectionColour> SectionColours;
  std::array<TColorRef, 10> CustomColors{};
  std::vector<TSkinCaptionButton> CaptionButtons;
  TSkinButtons Buttons;
  TSkinPersonality Personality;
  std::optional<TSkinBitmap> MdiControls;
  std::vector<TSkinImage> Images;  // those kept, in the order of kSkinImageSections

  // The image object of that section (compared without regard to case), or null.
  const TSkinImage* Image(std::string_view section) const;
};

// Raises ESkinReadError when the container holds no file whose name contains ".ini".
TSkinDescription ReadSkinDescription(TSkinContainer container, const TSkinColours& systemColours);
