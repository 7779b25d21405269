#pragma once
// LZHUF, the compression of skin files: LZSS over a ring of 4096 bytes with adaptive Huffman
// coding of literals and match lengths (Okumura and Yoshizaki, 1988), with the method's usual
// constants. A stream carries no size of its own; the skin file puts the decoded size in front.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/classes/Exceptions.h"

class ELzhError : public Exception {
 public:
  using Exception::Exception;
};

namespace lzhuf {

inline constexpr int kRingSize = 4096;
inline constexpr int kLookAhead = 60;  // the longest match
inline constexpr int kThreshold = 2;   // a match must be longer than this to be coded as one
// Writing starts here; every byte before it starts out as a blank.
inline constexpr int kRingStart = kRingSize - kLookAhead;
// 256 literal bytes and the match lengths 3 … 60.
inline constexpr int kSymbols = 256 - kThreshold + kLookAhead;
inline constexpr int kNodes = 2 * kSymbols - 1;
inline constexpr int kRoot = kNodes - 1;
// The root's count at which every count is halved and the tree rebuilt.
inline constexpr unsigned kMaxFrequency = 0x8000;

inline constexpr std::string_view kNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";

}  // namespace lzhuf

// The most bytes `compressedSize` bytes can decode to. The shortest code of a match is one bit
// for its length and nine for its position, so no bit yields more than six bytes.
std::size_t LzhufMaxDecodedSize(std::size_t compressedSize);

// Exactly `size` bytes decoded from `compressed`. Raises ELzhError when `size` exceeds what the
// data can hold, when the data ends before `size` bytes are decoded (a whole stream never needs
// more bits than its last byte holds), and when the tables cannot be had.
std::string LzhufDecode(std::string_view compressed, std::size_t size);

// The stream that LzhufDecode turns back into `data` (given data.size()); empty for no data.
std::string LzhufEncode(std::string_view data);
