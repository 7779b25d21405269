#pragma once
// The bit streams of LZHUF: bits go most significant first, eight to a byte, and the last
// byte is filled up with zero bits.

#include <cstdint>
#include <string>
#include <string_view>

namespace lzhuf {

class TBitReader {
 public:
  explicit TBitReader(std::string_view bytes) : bytes_(bytes) {}

  // Past the end every bit is 0, and RanPastEnd() tells that the stream was cut short.
  unsigned Bit() {
    const std::uint64_t byte = position_ >> 3;
    const unsigned bit = byte < bytes_.size()
                             ? (static_cast<unsigned char>(bytes_[byte]) >> (7 - (position_ & 7))) & 1u
                             : 0u;
    ++position_;
    return bit;
  }
  unsigned Bits(int count) {
    unsigned value = 0;
    while (count-- > 0) value = (value << 1) | Bit();
    return value;
  }
  bool RanPastEnd() const { return position_ > static_cast<std::uint64_t>(bytes_.size()) * 8; }

 private:
  std::string_view bytes_;
  std::uint64_t position_ = 0;
};

class TBitWriter {
 public:
  void Bit(unsigned bit) {
    if (used_ == 0) bytes_.push_back('\0');
    if (bit) bytes_.back() = static_cast<char>(static_cast<unsigned char>(bytes_.back()) | (0x80u >> used_));
    used_ = (used_ + 1) & 7;
  }
  // The low `count` bits of `value`, the highest first.
  void Bits(int count, unsigned value) {
    while (count-- > 0) Bit((value >> count) & 1u);
  }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
  unsigned used_ = 0;  // bits of the last byte already written
};

}  // namespace lzhuf
