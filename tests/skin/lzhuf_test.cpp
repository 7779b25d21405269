// LZHUF: streams made by the encoder decode to their data at every edge of the ring and the
// look-ahead, streams worked out by hand from the method's starting tree and position codes
// decode as the method says, and damaged streams are refused.

#include <gtest/gtest.h>

#include <random>

#include "skin/Lzhuf.h"

namespace {

std::string bytes(std::initializer_list<unsigned char> list) { return std::string(list.begin(), list.end()); }

std::string randomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random() & 0xFF);
  return out;
}

// Text with the repetitions of a real description: many short lines that differ a little.
std::string largeText(std::size_t size) {
  std::string out;
  std::mt19937 random(11);
  while (out.size() < size) {
    out += "[Button" + std::to_string(random() % 50) + "]\r\nXcoord=" + std::to_string(random() % 2000) +
           "\r\nButtonImage=\xB0\xB4\xC5\xA5" + std::to_string(random() % 9) + ".bmp\r\n";
  }
  out.resize(size);
  return out;
}

void expectRoundTrip(const std::string& data, const std::string& what) {
  const std::string encoded = LzhufEncode(data);
  EXPECT_EQ(LzhufDecode(encoded, data.size()), data) << what << ", " << data.size() << " bytes";
}

}  // namespace

// Worked out from the starting tree, where the leaves 0 … 313 have count 1 and node k's parent
// is 314 + k / 2, so a symbol's code is the low bits of its ancestors read from the root down.
// "A" (65): ancestors 65, 346, 487, 557, 592, 610, 619, 623, 625 give 1,1,1,0,0,1,1,0,1 from the
// root, padded to E6 80. Three blanks at the start match the blanks before position 4036 at
// distance 1: the length-3 symbol 256 (ancestors 256, 442, 535, 581, 604, 616, 622, 625, code
// 10001100), then position 0 as the three-bit code 000 and six low bits 000000.
TEST(Lzhuf, StreamsWorkedOutFromTheStartingTree) {
  EXPECT_EQ(LzhufEncode("A"), bytes({0xE6, 0x80}));
  EXPECT_EQ(LzhufDecode(bytes({0xE6, 0x80}), 1), "A");
  EXPECT_EQ(LzhufEncode("   "), bytes({0x8C, 0x00, 0x00}));
  EXPECT_EQ(LzhufDecode(bytes({0x8C, 0x00, 0x00}), 3), "   ");
}

TEST(Lzhuf, RoundTripsAtTheEdgesOfRingAndLookAhead) {
  for (const std::size_t size : {0, 1, 2, 3, 59, 60, 61, 62, 4035, 4036, 4037, 4095, 4096, 4097, 8192, 8193}) {
    expectRoundTrip(randomBytes(size, static_cast<unsigned>(size)), "random");
    expectRoundTrip(std::string(size, ' '), "blanks");
    expectRoundTrip(std::string(size, '\0'), "zeros");
    expectRoundTrip(largeText(size), "text");
  }
}

TEST(Lzhuf, RunsLongerThanTheLookAheadBecomeSeveralMatches) {
  for (const std::size_t run : {61, 120, 121, 1000, 5000}) {
    const std::string data = "x" + std::string(run, 'a') + "y";
    const std::string encoded = LzhufEncode(data);
    EXPECT_EQ(LzhufDecode(encoded, data.size()), data);
    // A match is at most 60 bytes, each of them well under three bytes of code.
    EXPECT_LT(encoded.size(), 3 * (run / 60 + 3)) << run;
  }
}

TEST(Lzhuf, MatchesReachBackAsFarAsTheWindowAndNoFarther) {
  // A random block and its copy: the copy is found as matches while it starts at most 4036
  // bytes back (the ring less the look-ahead), and costs as much as fresh data from there on.
  const std::string block = randomBytes(4000, 3);
  const std::size_t alone = LzhufEncode(block).size();
  for (const std::size_t gap : {36u, 37u}) {
    const std::string data = block + randomBytes(gap, 5) + block;
    const std::string encoded = LzhufEncode(data);
    EXPECT_EQ(LzhufDecode(encoded, data.size()), data);
    if (gap == 36)
      EXPECT_LT(encoded.size(), alone + alone / 4) << "copy at distance 4036";
    else
      EXPECT_GT(encoded.size(), 2 * alone - alone / 8) << "copy at distance 4037";
  }
}

TEST(Lzhuf, MatchesAtEveryDistanceRoundTrip) {
  // Every upper six bits of a position occur, so every code of the position tables is used.
  std::string data = randomBytes(4100, 17);
  std::mt19937 random(19);
  for (int distance = 1; distance <= 4036; distance += 1 + static_cast<int>(random() % 7)) {
    const std::size_t from = data.size() - static_cast<std::size_t>(distance);
    data += data.substr(from, std::min<std::size_t>(3 + random() % 58, static_cast<std::size_t>(distance)));
    data += static_cast<char>(random());
  }
  expectRoundTrip(data, "every distance");
}

TEST(Lzhuf, LargeDataRebuildsTheTreeAndStillRoundTrips) {
  // Well over 0x8000 symbols each, so the counts are halved and the tree rebuilt many times.
  expectRoundTrip(largeText(400000), "large text");
  expectRoundTrip(randomBytes(150000, 23), "random");
  std::string skewed = randomBytes(200000, 29);
  for (char& c : skewed) c = static_cast<char>(static_cast<unsigned char>(c) < 240 ? 'e' : c);
  expectRoundTrip(skewed, "one byte far more frequent than the others");
}

TEST(Lzhuf, ShorterSizesDecodePrefixesEvenInsideAMatch) {
  const std::string data = "abc" + std::string(100, 'z') + largeText(3000);
  const std::string encoded = LzhufEncode(data);
  for (const std::size_t size : {0, 1, 3, 4, 50, 63, 64, 103, 2000, 3103})
    EXPECT_EQ(LzhufDecode(encoded, size), data.substr(0, size)) << size;
}

TEST(Lzhuf, RefusesAStreamCutShort) {
  const std::string data = largeText(5000);
  const std::string encoded = LzhufEncode(data);
  // Every byte of a stream holds bits of its last symbol or earlier ones.
  for (const std::size_t keep : {encoded.size() / 2, encoded.size() - 2, encoded.size() - 1}) {
    try {
      LzhufDecode(encoded.substr(0, keep), data.size());
      ADD_FAILURE() << "decoded from " << keep << " of " << encoded.size() << " bytes";
    } catch (const ELzhError& e) {
      EXPECT_STREQ(e.what(), "LZH : Compressed data ends before the size it declares");
    }
  }
  EXPECT_EQ(LzhufDecode(encoded, data.size()), data);
  EXPECT_THROW(LzhufDecode(encoded.substr(0, 1), data.size()), ELzhError);
  EXPECT_THROW(LzhufDecode("", data.size()), ELzhError);
}

TEST(Lzhuf, RefusesASizeBeyondWhatTheDataCanHold) {
  const std::string encoded = LzhufEncode(std::string(10000, 'q'));
  const std::size_t most = LzhufMaxDecodedSize(encoded.size());
  EXPECT_EQ(most, 48 * encoded.size());
  for (const std::size_t size : {most + 1, std::size_t{0xFFFFFFFF}, static_cast<std::size_t>(-1)}) {
    try {
      LzhufDecode(encoded, size);
      ADD_FAILURE() << size;
    } catch (const ELzhError& e) {
      EXPECT_STREQ(e.what(), "LZH : Declared size exceeds what the compressed data can hold");
    }
  }
  // At the limit the size is taken, and the data runs out instead.
  EXPECT_THROW(
      {
        try {
          LzhufDecode(encoded, most);
        } catch (const ELzhError& e) {
          EXPECT_STREQ(e.what(), "LZH : Compressed data ends before the size it declares");
          throw;
        }
      },
      ELzhError);
  EXPECT_EQ(LzhufDecode("", 0), "");
  EXPECT_THROW(LzhufDecode("", 1), ELzhError);
}
