#pragma once
// Packs a folder of skin sources (one description ".ini" and its ".bmp" bitmaps) into a skin
// file: a container of version 70000, compressed. The files go in the order of their names in
// lower case, so a folder always packs to the same bytes. Anything else in the folder is left
// out.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/classes/Exceptions.h"
#include "skin/SkinWrite.h"

class ESkinPackError : public Exception {
 public:
  using Exception::Exception;
};

inline constexpr std::int32_t kSkinPackVersion = 70000;
// No part of a skin comes near this; a larger file is a mistake and is not read.
inline constexpr std::uintmax_t kMaxSkinPartBytes = 64u << 20;

// The description and the bitmaps of `folder`, in packing order. Raises ESkinPackError for a
// folder that is missing, a description that is missing or not alone, a file that cannot be
// read or is too large, and a bitmap the skin reader would refuse.
std::vector<TSkinFileData> ReadSkinFolder(const std::filesystem::path& folder);

// The skin file of `folder`, read back once to be sure the reader takes it.
std::string PackSkinFolder(const std::filesystem::path& folder);
