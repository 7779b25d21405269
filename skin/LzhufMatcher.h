#pragma once
// The encoder's search for the longest earlier match of the text at a ring position: one
// binary search tree per first byte over the strings that start in the window.

#include <array>

#include "skin/Lzhuf.h"

namespace lzhuf {

class TLzssMatcher {
 public:
  TLzssMatcher();

  // The ring; its first kLookAhead - 1 bytes are repeated after its end so that a string that
  // wraps around can be compared in one piece.
  std::array<unsigned char, kRingSize + kLookAhead - 1>& Text() { return text_; }

  // Adds the string at `position` and finds its longest match among the strings in the trees
  // (of equal ones the nearest). A string equal over the whole look-ahead replaces the old one.
  void Insert(int position);
  void Remove(int position);

  int MatchLength() const { return matchLength_; }
  // The match's distance back from the inserted position, less one.
  int MatchPosition() const { return matchPosition_; }

 private:
  static constexpr int kNone = kRingSize;

  std::array<unsigned char, kRingSize + kLookAhead - 1> text_{};
  std::array<int, kRingSize + 1> left_{};
  // Entries past kRingSize are the roots of the trees, one per first byte.
  std::array<int, kRingSize + 257> right_{};
  std::array<int, kRingSize + 1> parent_{};
  int matchLength_ = 0;
  int matchPosition_ = 0;
};

}  // namespace lzhuf
