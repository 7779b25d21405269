#include "skin/SkinRead.h"

#include "skin/LittleEndian.h"
#include "skin/Lzhuf.h"
#include "skin/SkinLines.h"

ESkinVersionError::ESkinVersionError(std::int32_t version)
    : ESkinReadError(AnsiString(kOlderSkinMessage)), version_(version) {}

int SkinSkippedBlockSize(std::int32_t version) {
  switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
  }
}

AnsiString SkinFileName(std::string_view name) {
  AnsiString lower(name);
  for (std::size_t i = 0; i < lower.size(); ++i) {
    const auto c = static_cast<unsigned char>(lower[i]);
    if (text::isLeadByte(c))
      ++i;
    else if (c >= 'A' && c <= 'Z')
      lower[i] = static_cast<char>(c + 32);
  }
  return lower;
}

const TSkinEntry* TSkinContainer::Find(std::string_view name) const {
  const AnsiString wanted = SkinFileName(name);
  for (const TSkinEntry& entry : Files)
    if (entry.Name == wanted) return &entry;
  return nullptr;
}

const TSkinEntry* TSkinContainer::Description() const {
  for (const TSkinEntry& entry : Files)
    if (entry.Name.find(".ini") != AnsiString::npos) return &entry;
  return nullptr;
}

std::string_view SkinStreamImage(std::string_view stream) {
  if (stream.size() < 4) throw ESkinReadError("Skin stream is too short to hold its length");
  const std::uint32_t length = ReadUInt32(stream, 0);
  if (length > stream.size() - 4) throw ESkinReadError("Skin stream is shorter than the length it declares");
  return stream.substr(4, length);
}

std::string DecompressSkin(std::string_view skinFile) {
  if (skinFile.size() < 4) throw ESkinReadError("Skin file is too short to hold its size");
  return LzhufDecode(skinFile.substr(4), ReadUInt32(skinFile, 0));
}

TSkinContainer ReadSkinContainer(std::string bytes) {
  TSkinContainer skin;
  skin.Bytes = std::make_shared<const std::string>(std::move(bytes));
  const std::string_view container = *skin.Bytes;
  if (container.size() < 4) throw ESkinReadError("Skin container is too short to hold its version");
  skin.Version = static_cast<std::int32_t>(ReadUInt32(container, 0));
  const int skipped = SkinSkippedBlockSize(skin.Version);
  if (skipped < 0) throw ESkinVersionError(skin.Version);
  const std::size_t namesAt = kSkinHeaderSize + static_cast<std::size_t>(skipped);
  if (container.size() < namesAt) throw ESkinReadError("Skin container is too short for its header");
  const std::uint32_t namesLength = ReadUInt32(container, 4);
  if (namesLength > container.size() - namesAt) throw ESkinReadError("Skin name list runs past the end of the container");

  std::size_t at = namesAt + namesLength;
  // Every name needs four bytes of the size list: no more are split off than could have them.
  const std::size_t room = (container.size() - at) / 4;
  const std::vector<std::string_view> names = SplitSkinLines(container.substr(namesAt, namesLength), room + 1);
  if (names.empty()) throw ESkinReadError("Skin container names no files");
  if (names.size() > room) throw ESkinReadError("Skin size list runs past the end of the container");
  std::size_t dataAt = at + 4 * names.size();
  skin.Files.reserve(names.size());
  for (const std::string_view name : names) {
    const std::uint32_t size = ReadUInt32(container, at);
    at += 4;
    if (size > container.size() - dataAt) throw ESkinReadError("Skin files run past the end of the container");
    skin.Files.push_back({SkinFileName(name), container.substr(dataAt, size)});
    dataAt += size;
  }
  return skin;
}
