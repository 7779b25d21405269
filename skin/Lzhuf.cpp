#include "skin/Lzhuf.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "skin/LzhufBits.h"
#include "skin/LzhufHuffman.h"
#include "skin/LzhufMatcher.h"

namespace lzhuf {
namespace {

// The upper six bits of a match position as a prefix code of 3 to 8 bits: the code's bits are
// the top bits of the code byte.
constexpr std::array<unsigned char, 64> kPositionLength = {
    3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,
};
constexpr std::array<unsigned char, 64> kPositionCode = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

// The decoder's side of the same code, indexed by the next eight bits of the stream: the
// upper six bits and the length of the code those eight bits begin with.
struct TPositionDecoding {
  std::array<unsigned char, 256> Upper{};
  std::array<unsigned char, 256> Length{};
};

constexpr TPositionDecoding MakePositionDecoding() {
  TPositionDecoding table;
  for (int upper = 0; upper < 64; ++upper) {
    const int first = kPositionCode[upper];
    for (int byte = first; byte < first + (1 << (8 - kPositionLength[upper])); ++byte) {
      table.Upper[byte] = static_cast<unsigned char>(upper);
      table.Length[byte] = kPositionLength[upper];
    }
  }
  return table;
}

constexpr TPositionDecoding kPositionDecoding = MakePositionDecoding();

void EncodePosition(int position, TBitWriter& out) {
  const int upper = position >> 6;
  out.Bits(kPositionLength[upper], kPositionCode[upper] >> (8 - kPositionLength[upper]));
  out.Bits(6, static_cast<unsigned>(position) & 0x3F);
}

int DecodePosition(TBitReader& in) {
  unsigned bits = in.Bits(8);
  const unsigned upper = kPositionDecoding.Upper[bits];
  for (int more = kPositionDecoding.Length[bits] - 2; more > 0; --more) bits = (bits << 1) | in.Bit();
  return static_cast<int>((upper << 6) | (bits & 0x3F));
}

struct TDecoderTables {
  THuffmanTree Tree;
  std::array<unsigned char, kRingSize> Ring{};
};

struct TEncoderTables {
  THuffmanTree Tree;
  TLzssMatcher Matcher;
};

template <class Tables>
std::unique_ptr<Tables> AllocateTables() {
  std::unique_ptr<Tables> tables(new (std::nothrow) Tables);
  if (!tables) throw ELzhError(AnsiString(kNoMemoryMessage));
  return tables;
}

void RequireWhole(const TBitReader& in) {
  if (in.RanPastEnd()) throw ELzhError("LZH : Compressed data ends before the size it declares");
}

}  // namespace
}  // namespace lzhuf

using namespace lzhuf;

std::size_t LzhufMaxDecodedSize(std::size_t compressedSize) {
  constexpr std::size_t kBytesPerByte = 8 * kLookAhead / 10;
  if (compressedSize > std::numeric_limits<std::size_t>::max() / kBytesPerByte)
    return std::numeric_limits<std::size_t>::max();
  return compressedSize * kBytesPerByte;
}

std::string LzhufDecode(std::string_view compressed, std::size_t size) {
  if (size > LzhufMaxDecodedSize(compressed.size()))
    throw ELzhError("LZH : Declared size exceeds what the compressed data can hold");
  std::string out;
  if (size == 0) return out;
  out.reserve(size);
  const auto tables = AllocateTables<TDecoderTables>();
  std::fill_n(tables->Ring.begin(), kRingStart, static_cast<unsigned char>(' '));
  int r = kRingStart;
  TBitReader in(compressed);
  const auto put = [&](unsigned char c) {
    out.push_back(static_cast<char>(c));
    tables->Ring[r] = c;
    r = (r + 1) & (kRingSize - 1);
  };
  while (out.size() < size) {
    const int symbol = tables->Tree.DecodeSymbol(in);
    RequireWhole(in);
    if (symbol < 256) {
      put(static_cast<unsigned char>(symbol));
      continue;
    }
    const int position = DecodePosition(in);
    RequireWhole(in);
    const int from = (r - position - 1) & (kRingSize - 1);
    const int length = symbol - 255 + kThreshold;
    // A match may reach past the declared size; what lies beyond it is not part of the data.
    for (int k = 0; k < length && out.size() < size; ++k) put(tables->Ring[(from + k) & (kRingSize - 1)]);
  }
  return out;
}

std::string LzhufEncode(std::string_view data) {
  if (data.empty()) return {};
  const auto tables = AllocateTables<TEncoderTables>();
  THuffmanTree& tree = tables->Tree;
  TLzssMatcher& matcher = tables->Matcher;
  auto& text = matcher.Text();
  TBitWriter out;

  std::size_t next = 0;  // the first byte of `data` not yet in the ring
  int s = 0;             // the oldest position in the window
  int r = kRingStart;    // the position being coded
  std::fill_n(text.begin(), r, static_cast<unsigned char>(' '));
  int length = 0;        // bytes in the look-ahead
  for (; length < kLookAhead && next < data.size(); ++length) text[r + length] = static_cast<unsigned char>(data[next++]);
  for (int i = 1; i <= kLookAhead; ++i) matcher.Insert(r - i);
  matcher.Insert(r);
  do {
    int matchLength = std::min(matcher.MatchLength(), length);
    if (matchLength <= kThreshold) {
      matchLength = 1;
      tree.EncodeSymbol(text[r], out);
    } else {
      tree.EncodeSymbol(255 - kThreshold + matchLength, out);
      EncodePosition(matcher.MatchPosition(), out);
    }
    int i = 0;
    for (; i < matchLength && next < data.size(); ++i) {
      matcher.Remove(s);
      text[s] = static_cast<unsigned char>(data[next++]);
      if (s < kLookAhead - 1) text[s + kRingSize] = text[s];
      s = (s + 1) & (kRingSize - 1);
      r = (r + 1) & (kRingSize - 1);
      matcher.Insert(r);
    }
    // At the end of the data the look-ahead shrinks instead.
    for (; i < matchLength; ++i) {
      matcher.Remove(s);
      s = (s + 1) & (kRingSize - 1);
      r = (r + 1) & (kRingSize - 1);
      if (--length > 0) matcher.Insert(r);
    }
  } while (length > 0);
  return out.Take();
}
