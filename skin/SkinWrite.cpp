#include "skin/SkinWrite.h"

#include <limits>

#include "skin/Lzhuf.h"
#include "skin/SkinRead.h"

namespace {

void AppendUInt32(std::string& out, std::size_t value) {
  if (value > std::numeric_limits<std::uint32_t>::max()) throw Exception("Skin part is too large for its size field");
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WriteSkinContainer(std::int32_t version, const std::vector<TSkinFileData>& files) {
  const int skipped = SkinSkippedBlockSize(version);
  if (skipped < 0) throw Exception("Unknown skin container version " + std::to_string(version));
  if (files.empty()) throw Exception("A skin container needs at least one file");
  std::string names;
  for (const TSkinFileData& file : files) {
    if (file.Name.find_first_of("\r\n") != AnsiString::npos)
      throw Exception("Skin file name holds a line break: " + file.Name);
    names += file.Name;
    names += "\r\n";
  }
  std::string out;
  AppendUInt32(out, static_cast<std::uint32_t>(version));
  AppendUInt32(out, names.size());
  out.append(8 + static_cast<std::size_t>(skipped), '\0');
  out += names;
  for (const TSkinFileData& file : files) AppendUInt32(out, file.Bytes.size());
  for (const TSkinFileData& file : files) out += file.Bytes;
  return out;
}

std::string CompressSkin(std::string_view container) {
  std::string out;
  AppendUInt32(out, container.size());
  return out + LzhufEncode(container);
}

std::string SkinStreamOf(std::string_view skinFile) {
  std::string out;
  AppendUInt32(out, skinFile.size());
  out += skinFile;
  return out;
}
