// The skin file and its container: every version's skipped block, the name list and its line
// breaks, names in lower case, the description's file, the window description's stream, and
// every way the sizes of a file from outside can lie.

#include <gtest/gtest.h>

#include <functional>

#include "fuzz/skin_checks.h"
#include "skin/Lzhuf.h"
#include "skin/SkinRead.h"
#include "skin/SkinWrite.h"

namespace {

constexpr std::int32_t kVersions[] = {20000, 30000, 40000, 50000, 60000, 70000};

void putUInt32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getUInt32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

std::size_t namesAt(std::int32_t version) { return kSkinHeaderSize + static_cast<std::size_t>(SkinSkippedBlockSize(version)); }

// Where the size list of a container starts.
std::size_t sizesAt(const std::string& container) {
  return namesAt(static_cast<std::int32_t>(getUInt32(container, 0))) + getUInt32(container, 4);
}

const std::vector<TSkinFileData> kThreeFiles = {
    {"Skin.INI", "[TitlebarSkin]\r\nSkinName=Three\r\n"}, {"Button.BMP", "button bytes"}, {"x", ""}};

std::string messageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no error)";
}

std::string readError(const std::string& container) {
  return messageOf([&] { ReadSkinContainer(container); });
}

}  // namespace

TEST(SkinContainer, EveryVersionSkipsItsOwnBlockAndNoMore) {
  const std::size_t skipped[] = {0, 256, 80, 48, 117, 69};
  for (std::size_t v = 0; v < std::size(kVersions); ++v) {
    const std::int32_t version = kVersions[v];
    ASSERT_EQ(SkinSkippedBlockSize(version), static_cast<int>(skipped[v]));
    std::string container = WriteSkinContainer(version, kThreeFiles);
    // Whatever the skipped bytes hold does not matter, line breaks included.
    for (std::size_t i = 8; i < namesAt(version); ++i) container[i] = "\r\n\xAB"[i % 3];
    const TSkinContainer skin = ReadSkinContainer(container);
    EXPECT_EQ(skin.Version, version);
    ASSERT_EQ(skin.Files.size(), 3u) << version;
    EXPECT_EQ(skin.Files[0].Name, "skin.ini");
    EXPECT_EQ(skin.Files[0].Bytes, kThreeFiles[0].Bytes);
    EXPECT_EQ(skin.Files[1].Name, "button.bmp");
    EXPECT_EQ(skin.Files[1].Bytes, "button bytes");
    EXPECT_EQ(skin.Files[2].Name, "x");
    EXPECT_EQ(skin.Files[2].Bytes, "");
    // The first byte after the block is the name list's.
    container[namesAt(version)] = 'Z';
    EXPECT_EQ(ReadSkinContainer(container).Files[0].Name, "zkin.ini") << version;
  }
}

TEST(SkinContainer, UnknownVersionsGiveTheOlderSkinMessage) {
  for (const std::int32_t version : {0, 1, -1, 10000, 19999, 20001, 69999, 80000}) {
    std::string container = WriteSkinContainer(70000, kThreeFiles);
    putUInt32(container, 0, static_cast<std::uint32_t>(version));
    try {
      ReadSkinContainer(container);
      ADD_FAILURE() << version;
    } catch (const ESkinVersionError& e) {
      EXPECT_EQ(e.Version(), version);
      EXPECT_EQ(e.Message(), "This is Older Skin File\rPlease update to new version !");
    }
  }
}

TEST(SkinContainer, NamesAreLinesInLowerCaseFoundWithoutRegardToCase) {
  // CR LF, LF and CR each end a name; an empty line is a name too; text after the last break is
  // the last name. One size per name.
  const std::string names = "Skin.Ini\r\nA.BMP\nb.bmp\r\r\n\xB0\x41\xC5\xA5.BMP";
  std::string container = WriteSkinContainer(40000, {{"placeholder", ""}});
  container.resize(namesAt(40000));
  putUInt32(container, 4, static_cast<std::uint32_t>(names.size()));
  container += names;
  const std::uint32_t sizes[] = {3, 1, 2, 0, 4};
  for (const std::uint32_t size : sizes) {
    container.append(4, '\0');
    putUInt32(container, container.size() - 4, size);
  }
  container += "iniAbbWXYZ";

  const TSkinContainer skin = ReadSkinContainer(container);
  ASSERT_EQ(skin.Files.size(), 5u);
  // The second byte of a double-byte character keeps its value even where it looks like a letter.
  const char* expected[] = {"skin.ini", "a.bmp", "b.bmp", "", "\xB0\x41\xC5\xA5.bmp"};
  const char* contents[] = {"ini", "A", "bb", "", "WXYZ"};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(skin.Files[i].Name, expected[i]);
    EXPECT_EQ(skin.Files[i].Bytes, contents[i]);
  }
  EXPECT_EQ(skin.Find("SKIN.INI"), &skin.Files[0]);
  EXPECT_EQ(skin.Find("A.bmp"), &skin.Files[1]);
  EXPECT_EQ(skin.Find("\xB0\x41\xC5\xA5.bmp"), &skin.Files[4]);
  EXPECT_EQ(skin.Find("\xB0\x61\xC5\xA5.bmp"), nullptr);
  EXPECT_EQ(skin.Find("c.bmp"), nullptr);
  EXPECT_EQ(skin.Description(), &skin.Files[0]);
}

TEST(SkinContainer, TheDescriptionIsTheFirstNameContainingIni) {
  const TSkinContainer skin = ReadSkinContainer(
      WriteSkinContainer(20000, {{"a.bmp", "a"}, {"old.INI.bak", "first"}, {"skin.ini", "second"}}));
  ASSERT_NE(skin.Description(), nullptr);
  EXPECT_EQ(skin.Description()->Bytes, "first");
  EXPECT_EQ(ReadSkinContainer(WriteSkinContainer(20000, {{"a.bmp", "a"}, {"skin.in", "b"}})).Description(), nullptr);
}

// The stream of a main window: 37 bitmaps and one description in a version 70000 container.
TEST(SkinContainer, AWindowDescriptionsStreamDecompressesToItsDeclaredSize) {
  std::vector<TSkinFileData> files;
  for (int i = 0; i < 37; ++i) files.push_back({"Image" + std::to_string(i) + ".bmp", SampleBitmap(20 + i, 10, 24)});
  files.insert(files.begin() + 20, TSkinFileData{"WinXP.ini", SampleSkinDescription()});
  const std::string container = WriteSkinContainer(70000, files);
  const std::string stream = SkinStreamOf(CompressSkin(container));

  const std::string_view skinFile = SkinStreamImage(stream);
  EXPECT_EQ(skinFile.size(), getUInt32(stream, 0));
  EXPECT_EQ(getUInt32(std::string(skinFile), 0), container.size());
  EXPECT_LT(skinFile.size(), container.size() / 2);
  const TSkinContainer skin = ReadSkinFile(skinFile);
  EXPECT_EQ(*skin.Bytes, container);
  EXPECT_EQ(skin.Version, 70000);
  ASSERT_EQ(skin.Files.size(), 38u);
  EXPECT_EQ(sizesAt(container), kSkinHeaderSize + 69 + getUInt32(container, 4));
  ASSERT_NE(skin.Description(), nullptr);
  EXPECT_EQ(skin.Description()->Name, "winxp.ini");
  EXPECT_EQ(skin.Description()->Bytes, SampleSkinDescription());
}

TEST(SkinContainer, AStreamOrFileShorterThanItsSizeFieldIsRefused) {
  const std::string skinFile = CompressSkin(WriteSkinContainer(50000, kThreeFiles));
  const std::string stream = SkinStreamOf(skinFile);
  EXPECT_EQ(SkinStreamImage(stream + "trailing"), skinFile);
  EXPECT_EQ(messageOf([&] { SkinStreamImage(stream.substr(0, stream.size() - 1)); }),
            "Skin stream is shorter than the length it declares");
  EXPECT_EQ(messageOf([&] { SkinStreamImage("abc"); }), "Skin stream is too short to hold its length");
  EXPECT_EQ(messageOf([&] { DecompressSkin("abc"); }), "Skin file is too short to hold its size");
  EXPECT_EQ(readError("abc"), "Skin container is too short to hold its version");
}

TEST(SkinContainer, ATruncatedOrOversizedSkinFileIsRefused) {
  const std::string skinFile = CompressSkin(WriteSkinContainer(70000, SampleSkinFiles()));
  const std::string compressed = skinFile.substr(4);
  for (const std::size_t keep : {skinFile.size() - 1, skinFile.size() - 10, skinFile.size() / 2})
    EXPECT_EQ(messageOf([&] { ReadSkinFile(skinFile.substr(0, keep)); }),
              "LZH : Compressed data ends before the size it declares")
        << keep;
  // A declared size far beyond the data is refused before anything is allocated for it.
  for (const std::uint32_t size : {static_cast<std::uint32_t>(48 * compressed.size() + 1), 0xFFFFFFFFu}) {
    std::string lying = skinFile;
    putUInt32(lying, 0, size);
    EXPECT_EQ(messageOf([&] { ReadSkinFile(lying); }), "LZH : Declared size exceeds what the compressed data can hold");
  }
  EXPECT_EQ(messageOf([&] { ReadSkinFile(std::string("\x10\0\0\0", 4)); }),
            "LZH : Declared size exceeds what the compressed data can hold");
  // A size of nothing decodes to an empty container, which has no version.
  EXPECT_EQ(messageOf([&] { ReadSkinFile(std::string(4, '\0') + compressed); }),
            "Skin container is too short to hold its version");
}

TEST(SkinContainer, AHeaderCutBeforeTheNamesIsRefused) {
  for (const std::int32_t version : kVersions) {
    const std::string container = WriteSkinContainer(version, kThreeFiles);
    EXPECT_EQ(readError(container.substr(0, namesAt(version) - 1)), "Skin container is too short for its header")
        << version;
    // A header of no names at all.
    std::string empty = container.substr(0, namesAt(version));
    putUInt32(empty, 4, 0);
    EXPECT_EQ(readError(empty), "Skin container names no files") << version;
  }
}

TEST(SkinContainer, ANameListPastTheEndIsRefused) {
  std::string container = WriteSkinContainer(60000, kThreeFiles);
  const std::uint32_t rest = static_cast<std::uint32_t>(container.size() - namesAt(60000));
  putUInt32(container, 4, rest + 1);
  EXPECT_EQ(readError(container), "Skin name list runs past the end of the container");
  putUInt32(container, 4, 0xFFFFFFFF);
  EXPECT_EQ(readError(container), "Skin name list runs past the end of the container");
  // Up to the very end the names fit, and then the sizes do not.
  putUInt32(container, 4, rest);
  EXPECT_EQ(readError(container), "Skin size list runs past the end of the container");
}

TEST(SkinContainer, ASizeListPastTheEndIsRefused) {
  const std::string container = WriteSkinContainer(30000, kThreeFiles);
  const std::size_t end = sizesAt(container) + 4 * kThreeFiles.size();
  EXPECT_EQ(readError(container.substr(0, end - 1)), "Skin size list runs past the end of the container");
  std::string zeroSizes = container.substr(0, end);
  for (std::size_t i = 0; i < kThreeFiles.size(); ++i) putUInt32(zeroSizes, sizesAt(container) + 4 * i, 0);
  const TSkinContainer skin = ReadSkinContainer(zeroSizes);
  ASSERT_EQ(skin.Files.size(), 3u);
  for (const TSkinEntry& entry : skin.Files) EXPECT_TRUE(entry.Bytes.empty());
}

TEST(SkinContainer, FilesPastTheEndAreRefusedAndTrailingBytesIgnored) {
  std::string container = WriteSkinContainer(70000, kThreeFiles);
  const std::size_t lastSize = sizesAt(container) + 8;
  putUInt32(container, lastSize, 1);
  EXPECT_EQ(readError(container), "Skin files run past the end of the container");
  container += "!";
  EXPECT_EQ(ReadSkinContainer(container).Files[2].Bytes, "!");
  container += "more";
  EXPECT_EQ(ReadSkinContainer(container).Files[2].Bytes, "!");
  putUInt32(container, sizesAt(container), getUInt32(container, sizesAt(container)) + 6);
  EXPECT_EQ(readError(container), "Skin files run past the end of the container");
}

TEST(SkinContainer, SizesWhoseSumWrapsAroundAreRefused) {
  std::string container = WriteSkinContainer(70000, kThreeFiles);
  const std::size_t at = sizesAt(container);
  // Each alone would fit in 32 bits, and their sum wraps around to the bytes present.
  const std::uint32_t present = getUInt32(container, at) + getUInt32(container, at + 4);
  putUInt32(container, at, 0xFFFFFFF0u);
  putUInt32(container, at + 4, present + 0x10u);
  putUInt32(container, at + 8, 0);
  EXPECT_EQ(readError(container), "Skin files run past the end of the container");
  for (int i = 0; i < 3; ++i) putUInt32(container, at + 4 * static_cast<std::size_t>(i), 0xFFFFFFFFu);
  EXPECT_EQ(readError(container), "Skin files run past the end of the container");
}

TEST(SkinContainer, ContainerFilesShareOneCopyOfTheBytes) {
  TSkinContainer copy;
  {
    const TSkinContainer skin = ReadSkinContainer(WriteSkinContainer(70000, kThreeFiles));
    copy = skin;
  }
  EXPECT_EQ(copy.Files[1].Bytes, "button bytes");
  EXPECT_GE(copy.Files[1].Bytes.data(), copy.Bytes->data());
  EXPECT_LE(copy.Files[1].Bytes.data() + copy.Files[1].Bytes.size(), copy.Bytes->data() + copy.Bytes->size());
}
