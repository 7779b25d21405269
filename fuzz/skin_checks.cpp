#include "fuzz/skin_checks.h"

#include <algorithm>
#include <cstdio>

#include "platform/classes/TextCompare.h"
#include "skin/Lzhuf.h"
#include "skin/SkinBitmap.h"
#include "skin/SkinDescription.h"
#include "skin/SkinRead.h"

namespace {

void require(bool condition, const std::string& what) {
  if (!condition) throw EInputCheck(what);
}

bool within(std::string_view part, std::string_view whole) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// The bitmaps of the sample description, by the name it gives them.
const std::vector<std::pair<std::string, std::string>>& sampleBitmaps() {
  static const std::vector<std::pair<std::string, std::string>> bitmaps = [] {
    std::vector<std::pair<std::string, std::string>> list;
    const char* names[] = {"button.bmp", "check.bmp", "radio.bmp", "left.bmp", "right.bmp", "top.bmp", "bottom.bmp",
                           "textback.bmp", "menubar.bmp", "close.bmp", "max.bmp", "min.bmp", "mdi.bmp", "glyph.bmp"};
    int depth = 0;
    for (const char* name : names) {
      static const int depths[] = {24, 8, 32, 4, 1, 16};
      list.emplace_back(name, SampleBitmap(3 + depth % 5, 2 + depth % 3, depths[depth % 6]));
      ++depth;
    }
    for (const std::string_view section : kSkinImageSections)
      list.emplace_back(SkinFileName(section) + ".bmp", SampleBitmap(6, 4, 24));
    return list;
  }();
  return bitmaps;
}

void checkBitmap(const TSkinBitmap& bitmap, const TSkinDescription& skin) {
  require(within(bitmap.Bytes, *skin.Container.Bytes), "a bitmap outside its container");
  const TSkinEntry* entry = skin.Container.Find(bitmap.Name);
  require(entry && entry->Bytes.data() == bitmap.Bytes.data(), "a bitmap that is not the file of its name");
  const auto info = ReadBitmapInfo(bitmap.Bytes);
  require(info && info->Width == bitmap.Width && info->Height == bitmap.Height, "an unsound bitmap kept");
}

void checkOptionalBitmap(const std::optional<TSkinBitmap>& bitmap, const TSkinDescription& skin) {
  if (bitmap) checkBitmap(*bitmap, skin);
}

void checkImage(const TSkinImage& image, const TSkinDescription& skin) {
  checkBitmap(image.Bitmap, skin);
  checkOptionalBitmap(image.GlyphImage, skin);
  require(image.Frame >= 1 && image.FrameCount >= 1, "an image of no frames");
  require(image.LeftWidth >= 0 && image.RightWidth >= 0 && image.TopHeight >= 0 && image.BottomHeight >= 0,
          "a negative edge");
  require(image.Tile <= 1, "a tile value above 1 kept");
}

void checkDescription(const TSkinDescription& skin) {
  checkOptionalBitmap(skin.MdiControls, skin);
  if (skin.Buttons.Button) checkImage(*skin.Buttons.Button, skin);
  checkOptionalBitmap(skin.Buttons.CheckButton, skin);
  checkOptionalBitmap(skin.Buttons.RadioButton, skin);
  require(skin.Buttons.CheckButtonFrame >= 1 && skin.Buttons.RadioButtonFrame >= 1, "check or radio of no frames");
  const TSkinPersonality& p = skin.Personality;
  for (const TSkinFrameSide* side : {&p.Left, &p.Right, &p.Top, &p.Bottom}) {
    checkOptionalBitmap(side->Image, skin);
    require(side->Frame >= 1 && side->TopHeight >= 0 && side->BotHeight >= 0, "a frame side out of range");
  }
  checkOptionalBitmap(p.TextBack, skin);
  checkOptionalBitmap(p.MenuBar, skin);
  require(skin.CaptionButtons.size() <= kMaxCaptionButtons, "more caption buttons than are read");
  for (const TSkinCaptionButton& button : skin.CaptionButtons) {
    checkOptionalBitmap(button.ButtonImage, skin);
    require(!(button.Action == -1 && button.Visibility != 0), "an ignored caption button kept");
    require(button.Frame >= 1, "a caption button of no frames");
  }
  std::size_t next = 0;
  for (const TSkinImage& image : skin.Images) {
    checkImage(image, skin);
    while (next < kSkinImageSections.size() && kSkinImageSections[next] != image.Section) ++next;
    require(next < kSkinImageSections.size(), "image objects out of order or of an unknown section");
    ++next;
    if (image.Section == "Tab.Pane")
      require(std::max({image.LeftWidth, image.RightWidth, image.TopHeight, image.BottomHeight}) <= 4,
              "a tab pane edge above 4");
    require(skin.Image(image.Section) == &image, "an image object not found by its section");
  }
  for (const TColorRef colour : skin.CustomColors) require(colour <= 0xFFFFFF, "a colour beyond 24 bits");
}

void checkDescriptionText(std::string_view text) {
  const TSkinIni ini(text);
  const std::vector<AnsiString>& sections = ini.Sections();
  for (std::size_t i = 0; i < sections.size(); ++i) {
    require(ini.HasSection(sections[i]) && ini.HasSection(text::upperAscii(sections[i])), "a section not found");
    require(text::trimmed(sections[i]) == sections[i], "an untrimmed section name");
    for (std::size_t j = 0; j < i; ++j) require(!classes::sameText(sections[i], sections[j]), "a section named twice");
  }
  // Integers read back from their decimal and hexadecimal forms.
  if (const auto n = ParseSkinInteger(text::trimmed(text))) {
    require(ParseSkinInteger(std::to_string(*n)) == n, "an integer that does not read back");
    const std::int64_t magnitude = *n < 0 ? -static_cast<std::int64_t>(*n) : *n;
    char hex[24];
    std::snprintf(hex, sizeof hex, "%s0x%llX", *n < 0 ? "-" : "", static_cast<unsigned long long>(magnitude));
    require(ParseSkinInteger(hex) == n, "an integer that does not read back from hexadecimal");
  }
  require(ParseSkinColour(text) <= 0xFFFFFF, "a colour beyond 24 bits");
}

}  // namespace

void CheckLzhufInput(std::string_view input) {
  const std::string encoded = LzhufEncode(input);
  require(LzhufDecode(encoded, input.size()) == input, "data that does not survive encoding");
  if (!input.empty()) require(LzhufDecode(encoded, input.size() / 2) == input.substr(0, input.size() / 2), "a prefix that differs");

  if (input.size() < 2) return;
  const std::size_t size = static_cast<unsigned char>(input[0]) | static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8;
  const std::string_view stream = input.substr(2);
  std::string decoded;
  try {
    decoded = LzhufDecode(stream, size);
  } catch (const ELzhError&) {
    return;
  }
  require(decoded.size() == size, "a stream decoded to another size than asked");
  require(size <= LzhufMaxDecodedSize(stream.size()), "more decoded than the data can hold");
  require(LzhufDecode(stream, size / 3) == decoded.substr(0, size / 3), "a shorter size that is not a prefix");
}

void CheckSkinContainerInput(std::string_view input, const TSkinDescriptionCheck& alsoCheck) {
  // As a container, as a skin file, and as a window description's stream of a skin file.
  for (const int layer : {0, 1, 2}) {
    const bool compressed = layer > 0;
    TSkinContainer container;
    try {
      container = layer == 0 ? ReadSkinContainer(std::string(input))
                             : ReadSkinFile(layer == 1 ? input : SkinStreamImage(input));
    } catch (const ESkinReadError&) {
      continue;
    } catch (const ELzhError&) {
      require(compressed, "a container refused as a damaged stream");
      continue;
    }
    const std::string_view whole = *container.Bytes;
    require(!container.Files.empty(), "a container of no files");
    std::size_t total = 0;
    std::vector<TSkinFileData> files;
    for (const TSkinEntry& entry : container.Files) {
      require(within(entry.Bytes, whole), "a file outside its container");
      require(entry.Name == SkinFileName(entry.Name), "a name not in lower case");
      require(entry.Name.find_first_of("\r\n") == AnsiString::npos, "a name with a line break");
      const TSkinEntry* found = container.Find(entry.Name);
      require(found && found->Name == entry.Name && found <= &entry, "a file not found by its name");
      total += entry.Bytes.size();
      files.push_back({entry.Name, std::string(entry.Bytes)});
    }
    require(total + kSkinHeaderSize + 4 * container.Files.size() <= whole.size(), "files larger than the container");
    const TSkinContainer again = ReadSkinContainer(WriteSkinContainer(container.Version, files));
    require(again.Files.size() == files.size(), "a container that does not write back");
    for (std::size_t i = 0; i < files.size(); ++i)
      require(again.Files[i].Name == files[i].Name && again.Files[i].Bytes == files[i].Bytes,
              "file " + std::to_string(i) + " does not write back");

    const TSkinEntry* description = container.Description();
    try {
      const TSkinDescription skin = ReadSkinDescription(container, TSkinColours{});
      require(description && skin.DescriptionName == description->Name, "a description read from another file");
      checkDescription(skin);
      if (alsoCheck) alsoCheck(skin);
    } catch (const ESkinReadError&) {
      require(!description, "a description refused");
    }
  }
}

void CheckSkinDescriptionInput(std::string_view input, const TSkinDescriptionCheck& alsoCheck) {
  checkDescriptionText(input);
  std::vector<TSkinFileData> files = {{"skin.ini", std::string(input)}};
  for (const auto& [name, bytes] : sampleBitmaps()) files.push_back({name, bytes});
  // Broken bitmaps under names a description may give.
  std::string cut = SampleBitmap(8, 8, 24);
  cut.resize(cut.size() - 1);
  files.push_back({"cut.bmp", cut});
  files.push_back({"text.bmp", "BM not a bitmap"});
  const TSkinDescription skin = ReadSkinDescription(ReadSkinContainer(WriteSkinContainer(70000, files)), TSkinColours{});
  require(skin.DescriptionName == "skin.ini", "the description read from another file");
  checkDescription(skin);
  if (alsoCheck) alsoCheck(skin);
}

std::string SampleBitmap(int width, int height, int bitCount) {
  const int paletteSize = bitCount <= 8 ? 4 << bitCount : 0;
  const int rowBytes = (width * bitCount + 31) / 32 * 4;
  const int pixelsAt = 14 + 40 + paletteSize;
  const int fileSize = pixelsAt + rowBytes * height;
  std::string out;
  const auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  out += "BM";
  put(static_cast<std::uint32_t>(fileSize), 4);
  put(0, 4);
  put(static_cast<std::uint32_t>(pixelsAt), 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(static_cast<std::uint32_t>(bitCount), 2);
  put(0, 4);  // uncompressed
  put(static_cast<std::uint32_t>(rowBytes * height), 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int i = 0; i < paletteSize / 4; ++i) put(static_cast<std::uint32_t>(i * 0x010101 & 0xFFFFFF), 4);
  for (int i = 0; i < rowBytes * height; ++i) out.push_back(static_cast<char>(i * 37 + 11));
  return out;
}

std::string SampleSkinDescription() {
  std::string ini =
      "; A skin that gives every section and key the reader knows\r\n"
      "[TitlebarSkin]\r\nSkinName=Sample\r\n\r\n"
      "[Colours]\r\nButtonFace=212 208 200\r\nWindowText=1 2 3\r\nScrollbar=4 5 6\r\nHilightText=255 255 255\r\n"
      "Hilight=10 36 106\r\nMenu=7 8 9\r\nMenuText=10 11 12\r\nButtonText=13 14 15\r\nButtonHilight=16 17 18\r\n"
      "Buttonlight=19 20 21\r\nButtonShadow=22 23 24\r\nButtonDkShadow=25 26 27\r\nMenuBarText=28 29 30\r\n"
      "TitleTextActive=31 32 33\r\nTitleTextNoActive=34 35 36\r\n\r\n"
      "[Colour.Edit]\r\ncolor=250,251,252\r\n[COLOURS2]\r\nColor=1\r\n"
      "[Customcolors]\r\nColor0=1 0 0\r\nColor5=0 5 0\r\nColor9=0 0 9\r\n\r\n"
      "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=4\r\nBottomHeight=4\r\nTrans=1\r\n"
      "Tile=1\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nCheckButtonFrame=8\r\nRadioButtonFrame=0\r\n"
      "NormalColour=0x0000FF\r\nMouseOverColour=255\r\nPressedColour=-1\r\nNormalColour2=1 2 3\r\n\r\n"
      "[Personality]\r\nLeft=left.bmp\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=1\r\nLeftTopHeight=20\r\n"
      "LeftBotHeight=5\r\nRight=right.bmp\r\nRightFrame=2\r\nTop=top.bmp\r\nTopFrame=2\r\nTopStretch=1\r\n"
      "Bottom=bottom.bmp\r\nBottomFrame=-3\r\nTextBack=textback.bmp\r\nTextShift=6\r\nTextShiftVert=-2\r\n"
      "TextRightClip=40\r\nTextAlignment=1\r\nTextbackground=1\r\nFontHeight=13\r\nFonts=Tahoma\r\n"
      "TXTBackleft=4\r\nTXTBackRight=4\r\nActiveText=255 255 255\r\nInActiveText=128 128 128\r\n"
      "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=0\r\nTileRightMenu=1\r\n\r\n"
      "[Button0]\r\nButtonImage=close.bmp\r\nAlign=1\r\nXcoord=-20\r\nYcoord=5\r\nAction=0\r\nVisibility=0\r\n"
      "Frame=3\r\n[Button1]\r\nButtonImage=max.bmp\r\nAlign=1\r\nXcoord=-40\r\nAction=1\r\nVisibility1=2\r\n"
      "CombineOp=1\r\n[Button2]\r\nButtonImage=min.bmp\r\nAction=-1\r\nVisibility=1\r\n"
      "[Button.Radio]\r\nImage=radio.bmp\r\n\r\n"
      "[MDICONTROLS]\r\nImage=mdi.bmp\r\n\r\n";
  for (const std::string_view section : kSkinImageSections) {
    ini += "[" + std::string(section) + "]\r\n";
    ini += section == "Progress" ? "Bitmap=" : "Image=";
    ini += SkinFileName(section) + ".bmp\r\nLeftWidth=6\r\nRightWidth=2\r\nTopHeight=5\r\nBottomHeight=1\r\n"
           "Frame=3\r\nTile=2\r\nStyle=1\r\nTrans=1\r\nNormalColour=0x1F\r\nPressedColour2=9 9 9\r\n";
    if (section == "Tabs") ini += "Border=2\r\n";
    if (section.substr(0, 6) == "UpDown") ini += "GlyphImage=glyph.bmp\r\n";
    if (section == "GroupBox") ini += "BackgroundAlignment=1\r\nBackgroundLeftShift=2\r\nBackgroundRightShift=3\r\n";
    if (section.find("ScrollThumb") != std::string_view::npos) ini += "FrameCount=4\r\n";
  }
  return ini;
}

std::vector<TSkinFileData> SampleSkinFiles() {
  std::vector<TSkinFileData> files = {{"skin.ini", SampleSkinDescription()}};
  for (const auto& [name, bytes] : sampleBitmaps()) files.push_back({name, bytes});
  return files;
}

std::vector<std::string> LzhufSeeds() {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "[Button" + std::to_string(i) + "]\r\nAction=1\r\nVisibility=0\r\n";
  std::string noise(300, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 251);
  std::string seeds[] = {"", "A", std::string(200, ' '), std::string(130, 'x') + "y", text, noise, SampleBitmap(9, 5, 24)};
  std::vector<std::string> out;
  for (const std::string& seed : seeds) {
    out.push_back(seed);
    // As a size and a stream too.
    std::string sized(2, '\0');
    sized[0] = static_cast<char>(seed.size() & 0xFF);
    sized[1] = static_cast<char>(seed.size() >> 8 & 0xFF);
    out.push_back(sized + LzhufEncode(seed));
  }
  return out;
}

std::vector<std::string> SkinContainerSeeds() {
  std::vector<std::string> out;
  const std::vector<TSkinFileData> files = SampleSkinFiles();
  for (const std::int32_t version : {20000, 30000, 40000, 50000, 60000, 70000}) {
    const std::vector<TSkinFileData> few = {{"Skin.INI", "[TitlebarSkin]\nSkinName=v" + std::to_string(version) + "\n"},
                                            {"a.bmp", SampleBitmap(2, 2, 8)}};
    out.push_back(WriteSkinContainer(version, few));
    out.push_back(CompressSkin(WriteSkinContainer(version, few)));
    out.push_back(SkinStreamOf(CompressSkin(WriteSkinContainer(version, few))));
  }
  out.push_back(WriteSkinContainer(70000, files));
  out.push_back(CompressSkin(WriteSkinContainer(70000, files)));
  return out;
}

std::vector<std::string> SkinDescriptionSeeds() {
  return {
      SampleSkinDescription(),
      "[Colours]\nButtonFace=255\nMenubar=\n[colours]\nButtonFace=1 1 1\n",
      "  ; comment\r\n[ Personality ]\r\nleft = top.bmp \r\nLEFTFRAME=0x2\r\nTop=missing.bmp\rBottom=cut.bmp\n",
      "[Tab.Pane]\nImage=text.bmp\n[Tab.Pane]\nImage=tab.pane.bmp\n[tab.pane]\nLeftWidth=9\n",
      "0x7FFFFFFF",
      "-2147483648",
      "1,2,3,4",
  };
}
