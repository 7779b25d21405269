// The skin packer on folders of its own making: what it packs and in which order, what it
// refuses and why, and the command line tool's two outputs and its failures.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "fuzz/skin_checks.h"
#include "skin/SkinRead.h"
#include "tools/skinpack/SkinPack.h"

namespace fs = std::filesystem;

namespace {

class SkinFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("skinpack-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
    return root_ / name;
  }
  // A folder that packs: a description and two bitmaps, plus files the packer leaves out.
  void WriteSkin() const {
    Write("Skin.INI", "[TitlebarSkin]\r\nSkinName=Folder\r\n[Personality]\r\nTop=b.bmp\r\n");
    Write("b.BMP", SampleBitmap(4, 2, 24));
    Write("a.bmp", SampleBitmap(3, 3, 8));
    Write("notes.txt", "not part of the skin");
    fs::create_directory(root_ / "sub");
  }

  fs::path root_;
};

std::string packError(const fs::path& folder) {
  try {
    PackSkinFolder(folder);
  } catch (const ESkinPackError& e) {
    return e.what();
  }
  return "packed";
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TToolRun {
  int Status;
  std::string Output;
};

TToolRun runTool(const std::string& arguments) {
  FILE* pipe = ::popen((std::string(SICI_SKINPACK) + " " + arguments + " 2>&1").c_str(), "r");
  std::string output;
  char buffer[256];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

}  // namespace

TEST_F(SkinFolder, PacksTheDescriptionAndBitmapsByTheirNamesInLowerCase) {
  WriteSkin();
  const std::string skinFile = PackSkinFolder(root_);
  const TSkinContainer skin = ReadSkinFile(skinFile);
  EXPECT_EQ(skin.Version, 70000);
  ASSERT_EQ(skin.Files.size(), 3u);
  EXPECT_EQ(skin.Files[0].Name, "a.bmp");
  EXPECT_EQ(skin.Files[1].Name, "b.bmp");
  EXPECT_EQ(skin.Files[2].Name, "skin.ini");
  EXPECT_EQ(skin.Files[0].Bytes, SampleBitmap(3, 3, 8));
  EXPECT_EQ(skin.Files[1].Bytes, SampleBitmap(4, 2, 24));
  EXPECT_EQ(skin.Description(), &skin.Files[2]);
  // The names keep their spelling in the container; only the reader lowers them.
  const std::string container = DecompressSkin(skinFile);
  EXPECT_NE(container.find("a.bmp\r\nb.BMP\r\nSkin.INI\r\n"), std::string::npos);
  EXPECT_EQ(PackSkinFolder(root_), skinFile);
}

TEST_F(SkinFolder, RefusesWhatItCannotPackAndSaysWhy) {
  EXPECT_NE(packError(root_ / "missing").find("no such skin folder"), std::string::npos);
  Write("file", "x");
  EXPECT_NE(packError(root_ / "file").find("not a folder"), std::string::npos);

  Write("a.bmp", SampleBitmap(3, 3, 8));
  EXPECT_NE(packError(root_).find("no description (.ini)"), std::string::npos);
  // A bitmap whose name holds ".ini" is no description, and would be taken for one.
  Write("x.ini.bmp", SampleBitmap(2, 2, 24));
  EXPECT_NE(packError(root_).find("no description (.ini)"), std::string::npos);
  Write("skin.ini", "[TitlebarSkin]\r\nSkinName=A\r\n");
  EXPECT_NE(packError(root_).find("more than one name contains \".ini\" (skin.ini, x.ini.bmp)"), std::string::npos);
  fs::remove(root_ / "x.ini.bmp");
  Write("other.INI", "");
  EXPECT_NE(packError(root_).find("(other.INI, skin.ini)"), std::string::npos);
  fs::remove(root_ / "other.INI");
  EXPECT_EQ(packError(root_), "packed");

  std::string cut = SampleBitmap(8, 8, 24);
  cut.resize(cut.size() - 1);
  Write("cut.bmp", cut);
  EXPECT_NE(packError(root_).find("cut.bmp: not a bitmap the skin can read"), std::string::npos);
  fs::remove(root_ / "cut.bmp");

  fs::create_directory(root_ / "folder.bmp");
  EXPECT_NE(packError(root_).find("folder.bmp: not a readable file"), std::string::npos);
  fs::remove(root_ / "folder.bmp");
  fs::create_symlink(root_ / "nowhere", root_ / "gone.bmp");
  EXPECT_NE(packError(root_).find("gone.bmp: not a readable file"), std::string::npos);
}

TEST_F(SkinFolder, TheToolWritesTheSkinFileOrTheStreamAndNothingOnFailure) {
  WriteSkin();
  const fs::path out = root_ / "out";
  fs::create_directory(out);
  TToolRun run = runTool(root_.string() + " " + (out / "skin.skn").string());
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(readFile(out / "skin.skn"), PackSkinFolder(root_));
  run = runTool("--stream " + root_.string() + " " + (out / "skin.stream").string());
  EXPECT_EQ(run.Status, 0) << run.Output;
  const std::string stream = readFile(out / "skin.stream");
  EXPECT_EQ(stream, SkinStreamOf(PackSkinFolder(root_)));
  EXPECT_EQ(SkinStreamImage(stream), PackSkinFolder(root_));

  run = runTool((root_ / "missing").string() + " " + (out / "none").string());
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("sici-skinpack: " + (root_ / "missing").string() + ": no such skin folder"),
            std::string::npos);
  fs::remove(root_ / "Skin.INI");
  run = runTool(root_.string() + " " + (out / "skin.skn").string());
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("no description (.ini)"), std::string::npos);
  // The earlier output stays as it was, and no partial file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 2);
  EXPECT_EQ(readFile(out / "skin.stream"), stream);

  EXPECT_EQ(runTool(root_.string()).Status, 2);
  run = runTool("--compress " + root_.string() + " x");
  EXPECT_EQ(run.Status, 2);
  EXPECT_NE(run.Output.find("unknown option --compress"), std::string::npos);
}
