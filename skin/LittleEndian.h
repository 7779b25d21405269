#pragma once
// Integers of the skin's files, least significant byte first. The caller makes sure the bytes
// are there.

#include <cstdint>
#include <string_view>

inline std::uint32_t ReadUInt16(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

inline std::uint32_t ReadUInt32(std::string_view bytes, std::size_t at) {
  return ReadUInt16(bytes, at) | ReadUInt16(bytes, at + 2) << 16;
}
