#include "tools/skinpack/SkinPack.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "skin/SkinBitmap.h"
#include "skin/SkinDescription.h"
#include "skin/SkinRead.h"

namespace fs = std::filesystem;

namespace {

bool EndsWith(const AnsiString& text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string ReadPart(const fs::directory_entry& entry) {
  const fs::path& path = entry.path();
  std::error_code error;
  const fs::file_status status = entry.status(error);
  if (error || !fs::is_regular_file(status)) throw ESkinPackError(path.string() + ": not a readable file");
  const std::uintmax_t size = entry.file_size(error);
  if (error) throw ESkinPackError(path.string() + ": cannot read its size (" + error.message() + ")");
  if (size > kMaxSkinPartBytes) throw ESkinPackError(path.string() + ": too large for a part of a skin");
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) throw ESkinPackError(path.string() + ": cannot read it");
  if (bytes.size() != size) throw ESkinPackError(path.string() + ": changed while it was read");
  return bytes;
}

}  // namespace

std::vector<TSkinFileData> ReadSkinFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) throw ESkinPackError(folder.string() + ": no such skin folder");
  if (!fs::is_directory(folder, error)) throw ESkinPackError(folder.string() + ": not a folder");

  std::vector<TSkinFileData> files;
  std::vector<AnsiString> descriptions;
  try {
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      const AnsiString name = entry.path().filename().string();
      const AnsiString lower = SkinFileName(name);
      const bool description = EndsWith(lower, ".ini");
      if (!description && !EndsWith(lower, ".bmp")) continue;
      // The reader takes the first name that contains ".ini" for the description.
      if (lower.find(".ini") != AnsiString::npos) descriptions.push_back(name);
      std::string bytes = ReadPart(entry);
      if (!description && !ReadBitmapInfo(bytes))
        throw ESkinPackError(entry.path().string() + ": not a bitmap the skin can read (an uncompressed Windows DIB)");
      files.push_back({name, std::move(bytes)});
    }
  } catch (const fs::filesystem_error& e) {
    throw ESkinPackError(folder.string() + ": cannot list it (" + e.code().message() + ")");
  }

  if (descriptions.empty() || (descriptions.size() == 1 && !EndsWith(SkinFileName(descriptions[0]), ".ini")))
    throw ESkinPackError(folder.string() + ": no description (.ini) in the folder");
  if (descriptions.size() > 1) {
    std::sort(descriptions.begin(), descriptions.end());
    AnsiString names;
    for (const AnsiString& name : descriptions) names += (names.empty() ? "" : ", ") + name;
    throw ESkinPackError(folder.string() + ": more than one name contains \".ini\" (" + names +
                         "); the skin would read only the first");
  }
  std::sort(files.begin(), files.end(), [](const TSkinFileData& a, const TSkinFileData& b) {
    const AnsiString la = SkinFileName(a.Name), lb = SkinFileName(b.Name);
    return la != lb ? la < lb : a.Name < b.Name;
  });
  return files;
}

std::string PackSkinFolder(const fs::path& folder) {
  const std::vector<TSkinFileData> files = ReadSkinFolder(folder);
  std::string skinFile;
  try {
    skinFile = CompressSkin(WriteSkinContainer(kSkinPackVersion, files));
    ReadSkinDescription(ReadSkinFile(skinFile), TSkinColours{});
  } catch (const Exception& e) {
    throw ESkinPackError(folder.string() + ": " + e.Message());
  }
  return skinFile;
}
