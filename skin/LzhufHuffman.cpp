#include "skin/LzhufHuffman.h"

#include <algorithm>

namespace lzhuf {

THuffmanTree::THuffmanTree() {
  for (int i = 0; i < kSymbols; ++i) {
    frequency_[i] = 1;
    son_[i] = i + kNodes;
    parent_[i + kNodes] = i;
  }
  for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
    frequency_[j] = frequency_[i] + frequency_[i + 1];
    son_[j] = i;
    parent_[i] = parent_[i + 1] = j;
  }
  frequency_[kNodes] = 0xFFFF;
  parent_[kRoot] = 0;
}

int THuffmanTree::DecodeSymbol(TBitReader& in) {
  int node = son_[kRoot];
  while (node < kNodes) node = son_[node + static_cast<int>(in.Bit())];
  const int symbol = node - kNodes;
  Update(symbol);
  return symbol;
}

void THuffmanTree::EncodeSymbol(int symbol, TBitWriter& out) {
  // The path is found from the leaf up and written from the root down.
  std::array<unsigned char, kNodes> path;
  int length = 0;
  for (int node = parent_[symbol + kNodes]; node != kRoot; node = parent_[node])
    path[length++] = static_cast<unsigned char>(node & 1);
  while (length > 0) out.Bit(path[--length]);
  Update(symbol);
}

void THuffmanTree::Update(int symbol) {
  if (frequency_[kRoot] == kMaxFrequency) Rebuild();
  int node = parent_[symbol + kNodes];
  do {
    const unsigned count = ++frequency_[node];
    // A node that now outweighs the nodes after it swaps places with the last of them, so
    // that the counts stay in order.
    int last = node + 1;
    if (count > frequency_[last]) {
      while (count > frequency_[++last]) {}
      --last;
      frequency_[node] = frequency_[last];
      frequency_[last] = count;

      const int moved = son_[node];
      parent_[moved] = last;
      if (moved < kNodes) parent_[moved + 1] = last;

      const int other = son_[last];
      son_[last] = moved;
      parent_[other] = node;
      if (other < kNodes) parent_[other + 1] = node;
      son_[node] = other;

      node = last;
    }
    node = parent_[node];
  } while (node != 0);  // only the root has node 0 for its parent
}

void THuffmanTree::Rebuild() {
  // The leaves, in their order, with their counts halved.
  int leaves = 0;
  for (int i = 0; i < kNodes; ++i)
    if (son_[i] >= kNodes) {
      frequency_[leaves] = (frequency_[i] + 1) / 2;
      son_[leaves] = son_[i];
      ++leaves;
    }
  // Each pair of neighbours gets a parent, placed where its count keeps the order.
  for (int i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    const unsigned count = frequency_[i] + frequency_[i + 1];
    frequency_[j] = count;
    int at = j - 1;
    while (count < frequency_[at]) --at;
    ++at;
    std::copy_backward(frequency_.begin() + at, frequency_.begin() + j, frequency_.begin() + j + 1);
    frequency_[at] = count;
    std::copy_backward(son_.begin() + at, son_.begin() + j, son_.begin() + j + 1);
    son_[at] = i;
  }
  for (int i = 0; i < kNodes; ++i) {
    const int child = son_[i];
    if (child >= kNodes)
      parent_[child] = i;
    else
      parent_[child] = parent_[child + 1] = i;
  }
}

}  // namespace lzhuf
