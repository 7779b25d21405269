#pragma once
// The adaptive Huffman tree of LZHUF over its 314 symbols. Encoder and decoder update the same
// tree after every symbol, so it never travels with the data.
//
// Nodes 0 … 626 are kept in order of their counts; the two children of a node are always
// neighbours, the first at an even index, so a child's index tells which bit leads to it.

#include <array>

#include "skin/Lzhuf.h"
#include "skin/LzhufBits.h"

namespace lzhuf {

class THuffmanTree {
 public:
  THuffmanTree();

  int DecodeSymbol(TBitReader& in);
  void EncodeSymbol(int symbol, TBitWriter& out);

 private:
  void Update(int symbol);
  void Rebuild();

  // One more than the nodes: a sentinel above every count ends the search for a higher node.
  std::array<unsigned, kNodes + 1> frequency_{};
  // A node's parent; entries kNodes + s hold the node of leaf s.
  std::array<int, kNodes + kSymbols> parent_{};
  // A node's first child, or kNodes + s for the leaf of symbol s.
  std::array<int, kNodes> son_{};
};

}  // namespace lzhuf
