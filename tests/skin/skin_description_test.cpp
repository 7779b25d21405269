// What a description gives: every section and key the skin reads, the defaults of what it
// lacks, the caption buttons it ignores, and the images it cannot have.

#include <gtest/gtest.h>

#include "fuzz/skin_checks.h"
#include "skin/SkinDescription.h"

namespace {

// System colours that no description below gives, so that a default shows as itself.
TSkinColours systemColours() {
  TSkinColours colours;
  TColorRef next = 0x80000001;
  for (TColorRef* c : {&colours.ButtonFace, &colours.WindowText, &colours.Scrollbar, &colours.HilightText,
                       &colours.Hilight, &colours.Menubar, &colours.Menu, &colours.MenuText, &colours.ButtonText,
                       &colours.ButtonHilight, &colours.Buttonlight, &colours.ButtonShadow, &colours.ButtonDkShadow,
                       &colours.MenuBarText, &colours.TitleTextActive, &colours.TitleTextNoActive})
    *c = next++;
  return colours;
}

TSkinDescription readSample() {
  return ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, SampleSkinFiles())), systemColours());
}

// A skin of one description and the sample's bitmaps.
TSkinDescription readWith(const std::string& description) {
  std::vector<TSkinFileData> files = SampleSkinFiles();
  files[0].Bytes = description;
  return ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, files)), systemColours());
}

}  // namespace

TEST(SkinDescription, ReadsTheNameAndEveryColour) {
  const TSkinDescription skin = readSample();
  EXPECT_EQ(skin.DescriptionName, "skin.ini");
  EXPECT_EQ(skin.SkinName, "Sample");
  const TSkinColours& c = skin.Colours;
  EXPECT_EQ(c.ButtonFace, SkinRGB(212, 208, 200));
  EXPECT_EQ(c.WindowText, SkinRGB(1, 2, 3));
  EXPECT_EQ(c.Scrollbar, SkinRGB(4, 5, 6));
  EXPECT_EQ(c.HilightText, SkinRGB(255, 255, 255));
  EXPECT_EQ(c.Hilight, SkinRGB(10, 36, 106));
  EXPECT_EQ(c.Menu, SkinRGB(7, 8, 9));
  EXPECT_EQ(c.MenuText, SkinRGB(10, 11, 12));
  EXPECT_EQ(c.ButtonText, SkinRGB(13, 14, 15));
  EXPECT_EQ(c.ButtonHilight, SkinRGB(16, 17, 18));
  EXPECT_EQ(c.Buttonlight, SkinRGB(19, 20, 21));
  EXPECT_EQ(c.ButtonShadow, SkinRGB(22, 23, 24));
  EXPECT_EQ(c.ButtonDkShadow, SkinRGB(25, 26, 27));
  EXPECT_EQ(c.MenuBarText, SkinRGB(28, 29, 30));
  EXPECT_EQ(c.TitleTextActive, SkinRGB(31, 32, 33));
  EXPECT_EQ(c.TitleTextNoActive, SkinRGB(34, 35, 36));
  // The sample names no menu bar colour: it is the button face's.
  EXPECT_EQ(c.Menubar, c.ButtonFace);

  EXPECT_EQ(skin.CustomColors[0], SkinRGB(1, 0, 0));
  EXPECT_EQ(skin.CustomColors[5], SkinRGB(0, 5, 0));
  EXPECT_EQ(skin.CustomColors[9], SkinRGB(0, 0, 9));
  for (const int absent : {1, 2, 3, 4, 6, 7, 8}) EXPECT_EQ(skin.CustomColors[static_cast<std::size_t>(absent)], kSkinWhite);

  ASSERT_EQ(skin.SectionColours.size(), 2u);
  EXPECT_EQ(skin.SectionColours[0].Section, "Colour.Edit");
  EXPECT_EQ(skin.SectionColours[0].Color, SkinRGB(250, 251, 252));
  EXPECT_EQ(skin.SectionColours[1].Section, "COLOURS2");
  EXPECT_EQ(skin.SectionColours[1].Color, SkinRGB(1, 0, 0));
}

TEST(SkinDescription, AbsentColoursAreTheSystemsAndTheMenuBarFollowsTheButtonFace) {
  const TSkinColours system = systemColours();
  const TSkinDescription none = readWith("[Colours]\r\n[Colour]\r\n");
  EXPECT_EQ(none.Colours.ButtonFace, system.ButtonFace);
  EXPECT_EQ(none.Colours.TitleTextNoActive, system.TitleTextNoActive);
  EXPECT_EQ(none.Colours.Menubar, system.ButtonFace);
  EXPECT_EQ(none.SkinName, "");
  ASSERT_EQ(none.SectionColours.size(), 1u);
  EXPECT_EQ(none.SectionColours[0].Color, std::nullopt);

  const TSkinDescription face = readWith("[Colours]\r\nbuttonface=9 8 7\r\nMenubar=\r\n");
  EXPECT_EQ(face.Colours.ButtonFace, SkinRGB(9, 8, 7));
  EXPECT_EQ(face.Colours.Menubar, SkinRGB(9, 8, 7));
  EXPECT_EQ(face.Colours.Menu, system.Menu);
  const TSkinDescription own = readWith("[Colours]\r\nButtonFace=9 8 7\r\nMENUBAR=1,1,1\r\n");
  EXPECT_EQ(own.Colours.Menubar, SkinRGB(1, 1, 1));
}

TEST(SkinDescription, CaptionButtonsAreTheButtonSectionsNotIgnored) {
  const TSkinDescription skin = readSample();
  ASSERT_EQ(skin.CaptionButtons.size(), 2u);
  const TSkinCaptionButton& close = skin.CaptionButtons[0];
  EXPECT_EQ(close.Section, "Button0");
  ASSERT_TRUE(close.ButtonImage);
  EXPECT_EQ(close.ButtonImage->Name, "close.bmp");
  EXPECT_EQ(close.Align, 1);
  EXPECT_EQ(close.Xcoord, -20);
  EXPECT_EQ(close.Ycoord, 5);
  EXPECT_EQ(close.Frame, 3);
  const TSkinCaptionButton& max = skin.CaptionButtons[1];
  EXPECT_EQ(max.Action, 1);
  EXPECT_EQ(max.Visibility1, 2);
  EXPECT_EQ(max.CombineOp, 1);
  EXPECT_EQ(max.Frame, 1);

  // Action -1 ignores a button only while its visibility is not 0; "Button", "Buttons",
  // "Button.Radio" and "Button.Checkbox" are not caption buttons, any other "Button…" is.
  const TSkinDescription rules = readWith(
      "[Button]\r\nAction=1\r\n[BUTTONS]\r\nAction=1\r\n[button.radio]\r\n[Button.CheckBox]\r\n"
      "[ButtonA]\r\nAction=-1\r\nVisibility=0\r\n[ButtonB]\r\nAction=-1\r\nVisibility=1\r\n"
      "[ButtonC]\r\nAction=-1\r\nVisibility=-1\r\n[ButtonD]\r\nAction=-2\r\nVisibility=1\r\n"
      "[Button.Radio2]\r\nButtonImage=missing.bmp\r\n[XButton]\r\nAction=1\r\n");
  std::vector<AnsiString> kept;
  for (const TSkinCaptionButton& button : rules.CaptionButtons) kept.push_back(button.Section);
  EXPECT_EQ(kept, std::vector<AnsiString>({"ButtonA", "ButtonD", "Button.Radio2"}));
  EXPECT_FALSE(rules.CaptionButtons[2].ButtonImage);
}

TEST(SkinDescription, ButtonsAndPersonality) {
  const TSkinDescription skin = readSample();
  const TSkinButtons& b = skin.Buttons;
  ASSERT_TRUE(b.Button);
  EXPECT_EQ(b.Button->Bitmap.Name, "button.bmp");
  EXPECT_EQ(b.Button->LeftWidth, 3);
  EXPECT_EQ(b.Button->BottomHeight, 4);
  EXPECT_EQ(b.Button->Trans, 1);
  EXPECT_EQ(b.Button->Tile, 1);
  EXPECT_EQ(b.Button->NormalColour, 0xFF);
  EXPECT_EQ(b.Button->MouseOverColour, 255);
  EXPECT_EQ(b.Button->PressedColour, -1);
  EXPECT_EQ(b.Button->NormalColour2, SkinRGB(1, 2, 3));
  EXPECT_EQ(b.Button->MouseOverColour2, std::nullopt);
  ASSERT_TRUE(b.CheckButton && b.RadioButton);
  EXPECT_EQ(b.CheckButton->Name, "check.bmp");
  EXPECT_EQ(b.CheckButtonFrame, 8);
  EXPECT_EQ(b.RadioButtonFrame, 1);  // 0 in the description

  const TSkinPersonality& p = skin.Personality;
  ASSERT_TRUE(p.Left.Image && p.Right.Image && p.Top.Image && p.Bottom.Image);
  EXPECT_EQ(p.Left.Image->Name, "left.bmp");
  EXPECT_EQ(p.Left.Frame, 2);
  EXPECT_EQ(p.Left.Stretch, 1);
  EXPECT_EQ(p.Left.Trans, 1);
  EXPECT_EQ(p.Left.TopHeight, 20);
  EXPECT_EQ(p.Left.BotHeight, 5);
  EXPECT_EQ(p.Top.Stretch, 1);
  EXPECT_EQ(p.Bottom.Frame, 1);  // -3 in the description
  ASSERT_TRUE(p.TextBack && p.MenuBar);
  EXPECT_EQ(p.TextBack->Name, "textback.bmp");
  EXPECT_EQ(p.TextShift, 6);
  EXPECT_EQ(p.TextShiftVert, -2);
  EXPECT_EQ(p.TextRightClip, 40);
  EXPECT_EQ(p.TextAlignment, 1);
  EXPECT_EQ(p.Textbackground, 1);
  EXPECT_EQ(p.FontHeight, 13);
  EXPECT_EQ(p.Fonts, "Tahoma");
  EXPECT_EQ(p.TXTBackleft, 4);
  EXPECT_EQ(p.TXTBackRight, 4);
  EXPECT_EQ(p.ActiveText, SkinRGB(255, 255, 255));
  EXPECT_EQ(p.InActiveText, SkinRGB(128, 128, 128));
  EXPECT_EQ(p.MenuBar->Name, "menubar.bmp");
  EXPECT_EQ(p.TileMenu, 1);
  EXPECT_EQ(p.TileRightMenu, 1);
  ASSERT_TRUE(skin.MdiControls);
  EXPECT_EQ(skin.MdiControls->Name, "mdi.bmp");
}

TEST(SkinDescription, EveryImageObjectWithItsOwnKeys) {
  const TSkinDescription skin = readSample();
  ASSERT_EQ(skin.Images.size(), kSkinImageSections.size());
  for (std::size_t i = 0; i < kSkinImageSections.size(); ++i) {
    const TSkinImage& image = skin.Images[i];
    const std::string_view section = kSkinImageSections[i];
    EXPECT_EQ(image.Section, section);
    EXPECT_EQ(skin.Image(text::upperAscii(section)), &image);
    EXPECT_EQ(image.Bitmap.Name, SkinFileName(section) + ".bmp");
    EXPECT_EQ(image.Bitmap.Width, 6);
    EXPECT_EQ(image.Bitmap.Height, 4);
    EXPECT_EQ(image.Frame, 3);
    EXPECT_EQ(image.Style, 1);
    EXPECT_EQ(image.Trans, 1);
    EXPECT_EQ(image.Tile, 0) << "2 counts as 0";
    EXPECT_EQ(image.NormalColour, 31);
    EXPECT_EQ(image.MouseOverColour, -1);
    EXPECT_EQ(image.PressedColour2, SkinRGB(9, 9, 9));
    // The tab pane's edges stop at 4; the other sections keep theirs.
    const bool pane = section == "Tab.Pane";
    EXPECT_EQ(image.LeftWidth, pane ? 4 : 6) << section;
    EXPECT_EQ(image.TopHeight, pane ? 4 : 5) << section;
    EXPECT_EQ(image.RightWidth, 2);
    EXPECT_EQ(image.BottomHeight, 1);
    EXPECT_EQ(image.Border, section == "Tabs" ? 2 : 0);
    EXPECT_EQ(image.GlyphImage.has_value(), section.substr(0, 6) == "UpDown") << section;
    EXPECT_EQ(image.BackgroundRightShift, section == "GroupBox" ? 3 : 0);
    EXPECT_EQ(image.FrameCount, section.find("ScrollThumb") != std::string_view::npos ? 4 : 1);
  }
  EXPECT_EQ(skin.Image("Trackbar"), nullptr);
}

TEST(SkinDescription, ImageRulesAtTheirEdges) {
  const TSkinDescription skin = readWith(
      "[Tab.Pane]\r\nImage=tab.pane.bmp\r\nLeftWidth=4\r\nRightWidth=5\r\nTopHeight=3\r\nBottomHeight=-1\r\n"
      "[Tabs]\r\nImage=tabs.bmp\r\nTile=1\r\nFrame=0\r\n[Track]\r\nImage=track.bmp\r\nTile=0\r\nLeftWidth=5\r\n"
      "[TRACKVERT]\r\nImage=trackvert.bmp\r\nTile=-1\r\n[HorzScrollThumb]\r\nImage=horzscrollthumb.bmp\r\n"
      "FrameCount=0\r\n");
  const TSkinImage* pane = skin.Image("Tab.Pane");
  ASSERT_TRUE(pane);
  EXPECT_EQ(pane->LeftWidth, 4);
  EXPECT_EQ(pane->RightWidth, 4);
  EXPECT_EQ(pane->TopHeight, 3);
  EXPECT_EQ(pane->BottomHeight, 0);
  EXPECT_EQ(skin.Image("Tabs")->Tile, 1);
  EXPECT_EQ(skin.Image("Tabs")->Frame, 1);
  EXPECT_EQ(skin.Image("Track")->Tile, 0);
  EXPECT_EQ(skin.Image("Track")->LeftWidth, 5);
  EXPECT_EQ(skin.Image("TrackVert")->Tile, -1);
  EXPECT_EQ(skin.Image("HorzScrollThumb")->FrameCount, 1);
}

TEST(SkinDescription, AnImageObjectNeedsASoundBitmapOfTheContainer) {
  std::vector<TSkinFileData> files = SampleSkinFiles();
  files[0].Bytes =
      "[Progress]\r\nImage=progress.bmp\r\n"                  // "Progress" names its image "Bitmap"
      "[Progress.Chunk]\r\nImage=NOT-THERE.bmp\r\n"
      "[GroupBox]\r\nImage=cut.bmp\r\n"
      "[Tabs]\r\nImage=\r\n"
      "[ToolBars]\r\nLeftWidth=3\r\n"
      "[ComboButton]\r\nImage=  COMBOBUTTON.BMP  \r\n"
      "[UpDown.Horz]\r\nImage=updown.horz.bmp\r\nGlyphImage=cut.bmp\r\n"
      "[Personality]\r\nLeft=cut.bmp\r\nTop=missing.bmp\r\n[Buttons]\r\nCheckButton=cut.bmp\r\n";
  std::string cut = SampleBitmap(5, 5, 24);
  cut.pop_back();
  files.push_back({"cut.bmp", cut});
  const TSkinDescription skin =
      ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, files)), systemColours());
  std::vector<AnsiString> kept;
  for (const TSkinImage& image : skin.Images) kept.push_back(image.Section);
  EXPECT_EQ(kept, std::vector<AnsiString>({"ComboButton", "UpDown.Horz"}));
  EXPECT_FALSE(skin.Image("UpDown.Horz")->GlyphImage);
  EXPECT_FALSE(skin.Personality.Left.Image);
  EXPECT_FALSE(skin.Personality.Top.Image);
  EXPECT_FALSE(skin.Buttons.CheckButton);
  EXPECT_FALSE(skin.Buttons.Button);
  EXPECT_FALSE(skin.MdiControls);
}

TEST(SkinDescription, AContainerWithoutDescriptionIsRefused) {
  std::vector<TSkinFileData> files = SampleSkinFiles();
  files[0].Name = "skin.txt";
  try {
    ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, files)), systemColours());
    FAIL();
  } catch (const ESkinReadError& e) {
    EXPECT_EQ(e.Message(), "Skin container holds no description (.ini)");
  }
  files[0].Name = "SKIN.INI";
  EXPECT_EQ(ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, files)), systemColours()).SkinName,
            "Sample");
}

TEST(SkinDescription, ImagesOutliveTheContainerTheyCameFrom) {
  TSkinBitmap kept;
  {
    const TSkinDescription skin = readSample();
    kept = skin.Images.front().Bitmap;
  }
  EXPECT_EQ(kept.Bytes, SampleBitmap(6, 4, 24));
}
