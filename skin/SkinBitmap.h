#pragma once
// The check a skin's bitmap passes before it is used: a Windows device-independent bitmap file
// whose headers, palette and every row of pixels they declare lie within its bytes.
//
// Accepted: the core (12-byte) and the info headers (40 bytes and longer), 1, 4, 8, 16, 24 or 32
// bits per pixel, uncompressed or with colour masks. Run-length and embedded JPEG or PNG data
// are refused, as are sides longer than kMaxBitmapSide, so that the pixels a bitmap can make
// are bounded by its bytes.

#include <optional>
#include <string_view>

inline constexpr int kMaxBitmapSide = 32768;

struct TBitmapInfo {
  int Width = 0;
  int Height = 0;  // rows, whichever way they are stored
  int BitCount = 0;
};

std::optional<TBitmapInfo> ReadBitmapInfo(std::string_view bytes);
