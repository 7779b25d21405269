#include "skin/LzhufMatcher.h"

namespace lzhuf {

TLzssMatcher::TLzssMatcher() {
  for (int i = kRingSize + 1; i <= kRingSize + 256; ++i) right_[i] = kNone;
  for (int i = 0; i < kRingSize; ++i) parent_[i] = kNone;
}

void TLzssMatcher::Insert(int position) {
  const unsigned char* key = &text_[position];
  int node = kRingSize + 1 + key[0];
  int order = 1;
  right_[position] = left_[position] = kNone;
  matchLength_ = 0;
  for (;;) {
    if (order >= 0) {
      if (right_[node] == kNone) {
        right_[node] = position;
        parent_[position] = node;
        return;
      }
      node = right_[node];
    } else {
      if (left_[node] == kNone) {
        left_[node] = position;
        parent_[position] = node;
        return;
      }
      node = left_[node];
    }
    int i = 1;
    for (; i < kLookAhead; ++i)
      if ((order = key[i] - text_[node + i]) != 0) break;
    if (i > kThreshold) {
      const int distance = ((position - node) & (kRingSize - 1)) - 1;
      if (i > matchLength_) {
        matchPosition_ = distance;
        if ((matchLength_ = i) >= kLookAhead) break;
      } else if (i == matchLength_ && distance < matchPosition_) {
        matchPosition_ = distance;
      }
    }
  }
  // The new string takes the place of the equal one.
  parent_[position] = parent_[node];
  left_[position] = left_[node];
  right_[position] = right_[node];
  parent_[left_[node]] = position;
  parent_[right_[node]] = position;
  if (right_[parent_[node]] == node)
    right_[parent_[node]] = position;
  else
    left_[parent_[node]] = position;
  parent_[node] = kNone;
}

void TLzssMatcher::Remove(int position) {
  if (parent_[position] == kNone) return;
  int replacement;
  if (right_[position] == kNone) {
    replacement = left_[position];
  } else if (left_[position] == kNone) {
    replacement = right_[position];
  } else {
    // The greatest string of the left subtree.
    replacement = left_[position];
    if (right_[replacement] != kNone) {
      do {
        replacement = right_[replacement];
      } while (right_[replacement] != kNone);
      right_[parent_[replacement]] = left_[replacement];
      parent_[left_[replacement]] = parent_[replacement];
      left_[replacement] = left_[position];
      parent_[left_[position]] = replacement;
    }
    right_[replacement] = right_[position];
    parent_[right_[position]] = replacement;
  }
  parent_[replacement] = parent_[position];
  if (right_[parent_[position]] == position)
    right_[parent_[position]] = replacement;
  else
    left_[parent_[position]] = replacement;
  parent_[position] = kNone;
}

}  // namespace lzhuf
