// libFuzzer target for the text of a skin description: its sections, keys, integers, colours
// and the images it names, which the skin component then loads and paints. fuzz/skin_checks.h
// and fuzz/skin_picture_checks.h list what must hold for every input.

#include <cstdint>

#include <QGuiApplication>

#include "fuzz/skin_checks.h"
#include "fuzz/skin_picture_checks.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The pictures are painted as the skinned windows paint them, which needs the GUI's objects.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication application(*argc, *argv);
  WriteSeeds(*argc, *argv, SkinDescriptionSeeds());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckSkinDescriptionInput(std::string_view(reinterpret_cast<const char*>(data), size), CheckSkinPictures);
  return 0;
}
