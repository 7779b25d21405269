// LZHUF against a second, plain implementation of the method written here from the published
// description (Okumura and Yoshizaki, 1988): its own position tables typed in from there, its
// own adaptive Huffman tree, its own greedy LZSS parse. Encoder and decoder of the skin engine
// share their tables and their tree, so a wrong table entry or a wrong halving of the counts
// survives every round trip; streams exchanged with this implementation do not.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "skin/Lzhuf.h"

namespace {

namespace reference {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

// The encoder's tables: the upper six bits of a position to the length of their code and the
// code itself, left-aligned in a byte.
constexpr std::array<unsigned char, 64> p_len = {
    0x03, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
};
constexpr std::array<unsigned char, 64> p_code = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

// The decoder's tables, indexed by the next eight bits: the upper six bits of the position
// and how many of those eight bits (plus two) its code took.
constexpr std::array<unsigned char, 256> d_code = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B,
    0x0C, 0x0C, 0x0C, 0x0C, 0x0D, 0x0D, 0x0D, 0x0D, 0x0E, 0x0E, 0x0E, 0x0E, 0x0F, 0x0F, 0x0F, 0x0F,
    0x10, 0x10, 0x10, 0x10, 0x11, 0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13,
    0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17,
    0x18, 0x18, 0x19, 0x19, 0x1A, 0x1A, 0x1B, 0x1B, 0x1C, 0x1C, 0x1D, 0x1D, 0x1E, 0x1E, 0x1F, 0x1F,
    0x20, 0x20, 0x21, 0x21, 0x22, 0x22, 0x23, 0x23, 0x24, 0x24, 0x25, 0x25, 0x26, 0x26, 0x27, 0x27,
    0x28, 0x28, 0x29, 0x29, 0x2A, 0x2A, 0x2B, 0x2B, 0x2C, 0x2C, 0x2D, 0x2D, 0x2E, 0x2E, 0x2F, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
};
constexpr std::array<unsigned char, 256> d_len = {
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
};

// The adaptive Huffman tree as the method keeps it: freq[] in ascending order, son[] the first
// of two neighbouring children (or T + c for the leaf of c), prnt[] the way back up.
class Huffman {
 public:
  Huffman() {
    for (int i = 0; i < N_CHAR; ++i) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
    }
    freq[T] = 0xFFFF;
    prnt[R] = 0;
  }

  // The bits of symbol c, the one nearest the root first.
  std::vector<int> Code(int c) const {
    std::vector<int> up;
    for (int k = prnt[c + T]; k != R; k = prnt[k]) up.push_back(k & 1);
    return {up.rbegin(), up.rend()};
  }

  template <class NextBit>
  int Decode(NextBit bit) {
    int c = son[R];
    while (c < T) c = son[c + bit()];
    return c - T;
  }

  void Update(int c) {
    if (freq[R] == MAX_FREQ) Reconstruct();
    c = prnt[c + T];
    do {
      const unsigned k = ++freq[c];
      int l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {}
        --l;
        freq[c] = freq[l];
        freq[l] = k;
        const int i = son[c];
        prnt[i] = l;
        if (i < T) prnt[i + 1] = l;
        const int j = son[l];
        son[l] = i;
        prnt[j] = c;
        if (j < T) prnt[j + 1] = c;
        son[c] = j;
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }

  int Reconstructions() const { return reconstructions; }

 private:
  void Reconstruct() {
    ++reconstructions;
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        ++j;
      }
    for (int i = 0, k, jj = N_CHAR; jj < T; i += 2, ++jj) {
      const unsigned f = freq[jj] = freq[i] + freq[i + 1];
      for (k = jj - 1; f < freq[k]; --k) {}
      ++k;
      for (int m = jj; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = f;
      son[k] = i;
    }
    for (int i = 0; i < T; ++i) {
      const int k = son[i];
      if (k >= T)
        prnt[k] = i;
      else
        prnt[k] = prnt[k + 1] = i;
    }
  }

  std::array<unsigned, T + 1> freq{};
  std::array<int, T + N_CHAR> prnt{};
  std::array<int, T> son{};
  int reconstructions = 0;
};

class BitOut {
 public:
  void Put(int bit) {
    if (used == 0) bytes.push_back('\0');
    if (bit) bytes.back() = static_cast<char>(static_cast<unsigned char>(bytes.back()) | (0x80 >> used));
    used = (used + 1) % 8;
  }
  void PutBits(int count, unsigned value) {
    for (int i = count - 1; i >= 0; --i) Put(static_cast<int>((value >> i) & 1));
  }
  std::string bytes;

 private:
  int used = 0;
};

class BitIn {
 public:
  explicit BitIn(const std::string& bytes) : bytes(bytes) {}
  int Get() {
    const std::size_t byte = at / 8;
    const int bit = byte < bytes.size() ? (static_cast<unsigned char>(bytes[byte]) >> (7 - at % 8)) & 1 : 0;
    ++at;
    return bit;
  }
  unsigned GetByte() {
    unsigned value = 0;
    for (int i = 0; i < 8; ++i) value = (value << 1) | static_cast<unsigned>(Get());
    return value;
  }
  bool Overran() const { return at > bytes.size() * 8; }

 private:
  const std::string& bytes;
  std::size_t at = 0;
};

// What the encoder used, so a test can tell its stream exercises what it means to.
struct EncodeReport {
  std::set<int> UpperBits;  // of every position coded
  std::set<int> Lengths;    // of every match
  int Matches = 0;
  int Reconstructions = 0;
};

// A greedy LZSS parse of `data` behind the method's starting ring (4036 blanks, writing at
// 4036): at each byte the longest earlier match of up to F bytes within N - F bytes back, the
// nearest of equal ones, found through chains of earlier places with the same three bytes.
std::string Encode(const std::string& data, EncodeReport& report) {
  constexpr int kStart = N - F;
  std::string text(kStart, ' ');
  text += data;
  const int end = static_cast<int>(text.size());
  const auto hash = [&](int p) {
    return (static_cast<unsigned char>(text[p]) << 16 | static_cast<unsigned char>(text[p + 1]) << 8 |
            static_cast<unsigned char>(text[p + 2])) %
           65521;
  };
  std::vector<int> head(65521, -1), previous(text.size(), -1);
  int inserted = 0;
  const auto insertUpTo = [&](int p) {
    for (; inserted < p && inserted + 2 < end; ++inserted) {
      const unsigned h = hash(inserted);
      previous[inserted] = head[h];
      head[h] = inserted;
    }
  };

  Huffman tree;
  BitOut out;
  const auto putSymbol = [&](int c) {
    for (int bit : tree.Code(c)) out.Put(bit);
    tree.Update(c);
  };
  for (int r = kStart; r < end;) {
    insertUpTo(r);
    const int most = std::min(F, end - r);
    int best = 0, bestFrom = -1;
    if (most > THRESHOLD) {
      int chain = 0;
      for (int from = head[hash(r)]; from >= 0 && r - from <= kStart && chain < 512; from = previous[from], ++chain) {
        int length = 0;
        while (length < most && text[from + length] == text[r + length]) ++length;
        if (length > best) {
          best = length;
          bestFrom = from;
          if (length == most) break;
        }
      }
    }
    if (best <= THRESHOLD) {
      putSymbol(static_cast<unsigned char>(text[r]));
      ++r;
      continue;
    }
    putSymbol(255 - THRESHOLD + best);
    const int position = r - bestFrom - 1;
    out.PutBits(p_len[position >> 6], p_code[position >> 6] >> (8 - p_len[position >> 6]));
    out.PutBits(6, position & 0x3F);
    report.UpperBits.insert(position >> 6);
    report.Lengths.insert(best);
    ++report.Matches;
    r += best;
  }
  report.Reconstructions = tree.Reconstructions();
  return out.bytes;
}

// The method's decoder; fails the test instead of reading past the stream.
std::string Decode(const std::string& stream, std::size_t size) {
  std::array<unsigned char, N> ring{};
  for (int i = 0; i < N - F; ++i) ring[i] = ' ';
  int r = N - F;
  Huffman tree;
  BitIn in(stream);
  std::string out;
  const auto put = [&](unsigned char c) {
    out.push_back(static_cast<char>(c));
    ring[r] = c;
    r = (r + 1) & (N - 1);
  };
  while (out.size() < size) {
    const int c = tree.Decode([&] { return in.Get(); });
    tree.Update(c);
    if (c < 256) {
      put(static_cast<unsigned char>(c));
    } else {
      unsigned i = in.GetByte();
      const unsigned upper = static_cast<unsigned>(d_code[i]) << 6;
      for (int j = d_len[i] - 2; j > 0; --j) i = (i << 1) + static_cast<unsigned>(in.Get());
      const int from = (r - static_cast<int>(upper | (i & 0x3F)) - 1) & (N - 1);
      const int length = c - 255 + THRESHOLD;
      for (int k = 0; k < length && out.size() < size; ++k) put(ring[(from + k) & (N - 1)]);
    }
    if (in.Overran()) {
      ADD_FAILURE() << "the stream ends after " << out.size() << " of " << size << " bytes";
      break;
    }
  }
  return out;
}

}  // namespace reference

// Data shaped like a skin file's inside: blanks at the start (matched against the blanks of the
// starting ring), bitmap rows, lines of a description, and copies of earlier stretches from
// every distance the window allows, overlapping runs among them.
std::string skinLikeData(std::size_t size) {
  std::mt19937 random(1988);
  std::string data(40, ' ');
  while (data.size() < size) {
    switch (random() % 6) {
      case 0:
      case 1:
        for (int i = 0, n = 20 + static_cast<int>(random() % 200); i < n; ++i) data += static_cast<char>(random());
        break;
      case 2:
        data += "[Button" + std::to_string(random() % 40) + "]\r\nAlign=" + std::to_string(random() % 2) +
                "\r\nXcoord=" + std::to_string(random() % 800) + "\r\nButtonImage=\xC9\xFA\xB4\xCA" +
                std::to_string(random() % 30) + ".bmp\r\n";
        break;
      case 3: {
        const char pixel[3] = {static_cast<char>(random()), static_cast<char>(random()), static_cast<char>(random())};
        for (int i = 0, n = 1 + static_cast<int>(random() % 40); i < n; ++i) data.append(pixel, 3);
        break;
      }
      default: {
        const std::size_t distance = 1 + random() % std::min<std::size_t>(4036, data.size());
        const std::size_t length = 3 + random() % 70;
        for (std::size_t i = 0; i < length; ++i) data += data[data.size() - distance];
        data += static_cast<char>(random());
        break;
      }
    }
  }
  data.resize(size);
  return data;
}

}  // namespace

// A stream made by the method's own tables and tree, long enough for the counts to be halved
// and the tree rebuilt several times and with positions of every upper six bits, decodes to its
// data; and the engine's stream of the same data decodes with the method's decoder.
TEST(LzhufReference, StreamsOfThePublishedMethodDecodeBothWays) {
  const std::string data = skinLikeData(128 * 1024);

  reference::EncodeReport report;
  const std::string theirs = reference::Encode(data, report);
  ASSERT_EQ(report.UpperBits.size(), 64u) << "every code of the position tables is used";
  ASSERT_GE(report.Reconstructions, 3) << "the tree is rebuilt several times";
  ASSERT_TRUE(report.Lengths.contains(3) && report.Lengths.contains(60));
  ASSERT_EQ(reference::Decode(theirs, data.size()), data) << "the reference agrees with itself";

  const std::string decoded = LzhufDecode(theirs, data.size());
  ASSERT_EQ(decoded.size(), data.size());
  std::size_t first = 0;
  while (first < data.size() && decoded[first] == data[first]) ++first;
  EXPECT_EQ(first, data.size()) << "the engine's decoding differs from byte " << first;

  const std::string ours = LzhufEncode(data);
  const std::string back = reference::Decode(ours, data.size());
  first = 0;
  while (first < std::min(back.size(), data.size()) && back[first] == data[first]) ++first;
  EXPECT_EQ(first, data.size()) << "the method's decoding of the engine's stream differs from byte " << first;
}

// Each position code alone: a literal and one match whose position has upper bits u, coded by
// the published table, so a wrong entry is named by the first upper bits it breaks.
TEST(LzhufReference, EveryPositionCodeOfThePublishedTableDecodes) {
  for (int upper = 0; upper < 64; ++upper) {
    // Random bytes, then ten of them again from one place back whose position has those upper
    // bits; for 63 the window allows only the positions 4032 … 4035.
    std::mt19937 random(static_cast<unsigned>(upper));
    std::string data;
    for (int i = 0; i < upper * 64 + 40; ++i) data += static_cast<char>(random());
    const std::size_t distance = static_cast<std::size_t>(upper) * 64 + (upper < 63 ? 38 : 4);
    const std::string copied = data.substr(data.size() - distance, 10);
    data += copied;

    reference::EncodeReport report;
    const std::string stream = reference::Encode(data, report);
    ASSERT_TRUE(report.UpperBits.contains(upper)) << upper;
    EXPECT_TRUE(LzhufDecode(stream, data.size()) == data) << "upper six bits " << upper;
  }
}
