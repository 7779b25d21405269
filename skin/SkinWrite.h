#pragma once
// The other direction of SkinRead, for the skin packer: named files into a container, a
// container into a skin file, a skin file into a window description's skin stream.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text/AnsiText.h"

struct TSkinFileData {
  AnsiString Name;
  std::string Bytes;
};

// A container of `version` (one that SkinSkippedBlockSize knows) with the files in the order
// given; the bytes the reader skips are zero. Raises Exception for an unknown version, a name
// with a line break, no files, or sizes beyond 32 bits.
std::string WriteSkinContainer(std::int32_t version, const std::vector<TSkinFileData>& files);

// D and the LZHUF stream of the container.
std::string CompressSkin(std::string_view container);

// A 4-byte length and the skin file.
std::string SkinStreamOf(std::string_view skinFile);
