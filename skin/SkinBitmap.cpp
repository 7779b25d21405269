#include "skin/SkinBitmap.h"

#include <cstdint>

#include "skin/LittleEndian.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12, kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0, kColourMasks = 3, kAlphaMasks = 6;

}  // namespace

std::optional<TBitmapInfo> ReadBitmapInfo(std::string_view bytes) {
  if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint64_t pixelsAt = ReadUInt32(bytes, 10);
  const std::uint32_t headerSize = ReadUInt32(bytes, kFileHeaderSize);
  if (headerSize < kCoreHeaderSize || headerSize > bytes.size() - kFileHeaderSize) return std::nullopt;
  const bool core = headerSize < kInfoHeaderSize;
  if (core && headerSize != kCoreHeaderSize) return std::nullopt;

  std::int64_t width, height;
  std::uint32_t planes, bitCount, compression = kUncompressed, coloursUsed = 0;
  if (core) {
    width = ReadUInt16(bytes, 18);
    height = ReadUInt16(bytes, 20);
    planes = ReadUInt16(bytes, 22);
    bitCount = ReadUInt16(bytes, 24);
  } else {
    width = static_cast<std::int32_t>(ReadUInt32(bytes, 18));
    height = static_cast<std::int32_t>(ReadUInt32(bytes, 22));
    planes = ReadUInt16(bytes, 26);
    bitCount = ReadUInt16(bytes, 28);
    compression = ReadUInt32(bytes, 30);
    coloursUsed = ReadUInt32(bytes, 46);
  }
  if (height < 0) height = -height;  // rows stored top down
  if (width <= 0 || height == 0 || width > kMaxBitmapSide || height > kMaxBitmapSide || planes != 1)
    return std::nullopt;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return std::nullopt;

  // What lies between the headers and the pixels: colour masks, then the palette.
  std::uint64_t tablesEnd = kFileHeaderSize + headerSize;
  if (compression == kColourMasks || compression == kAlphaMasks) {
    if (bitCount != 16 && bitCount != 32) return std::nullopt;
    if (headerSize == kInfoHeaderSize) tablesEnd += compression == kAlphaMasks ? 16 : 12;
  } else if (compression != kUncompressed) {
    return std::nullopt;
  }
  if (bitCount <= 8) {
    const std::uint32_t most = 1u << bitCount;
    if (coloursUsed > most) return std::nullopt;
    tablesEnd += static_cast<std::uint64_t>(coloursUsed == 0 ? most : coloursUsed) * (core ? 3 : 4);
  }
  if (tablesEnd > bytes.size() || pixelsAt < tablesEnd || pixelsAt > bytes.size()) return std::nullopt;

  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
  if (rowBytes * static_cast<std::uint64_t>(height) > bytes.size() - pixelsAt) return std::nullopt;
  return TBitmapInfo{static_cast<int>(width), static_cast<int>(height), static_cast<int>(bitCount)};
}
