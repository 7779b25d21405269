#pragma once
// The record buffer's store for values of varying length (heap strings and heap byte
// strings). A record holds a 32-bit handle to a piece, so record layouts keep their
// 4-byte reference fields.
//
// Pieces of up to 2000 bytes are carved from 16-kilobyte blocks and recycled through free
// lists of 8-byte size classes; larger pieces come from the system allocator. In front of
// every piece sit a 32-bit size word and a 16-bit holder mark.
//
// Handle layout: bit 31 clear: a pooled piece, bits 30..14 the block number and bits 13..0
// the offset of the piece's bytes within the block's carving area (never below 6, so no
// pooled handle is 0). Bit 31 set: a system piece, bits 30..0 its slot in the system-piece
// table; a freed slot is reused by the next system piece.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

using TStrHandle = std::uint32_t;  // 0: no piece

class TStringHeap {
public:
  // Pieces up to this size are pooled.
  static constexpr std::size_t kMaxPooledSize = 2000;
  // A block is 16384 bytes; its first four bytes would link the block chain, which is kept
  // in a vector here so that a handle finds its block without walking.
  static constexpr std::size_t kBlockArea = 16380;

  static constexpr std::uint16_t kMarkFreed = 100;
  static constexpr std::uint16_t kMarkInUse = 101;

  TStringHeap();
  TStringHeap(const TStringHeap&) = delete;
  TStringHeap& operator=(const TStringHeap&) = delete;
  // Frees the blocks and every system piece still held.
  ~TStringHeap();

  // 0 for a size below 1. Out of memory (or of handles) raises std::bad_alloc with the heap
  // unchanged.
  TStrHandle Alloc(std::size_t size);
  // A zero-terminated copy of `length` characters of `text` (a negative length: up to its
  // terminating zero), without its trailing blanks when `trim` is set.
  TStrHandle AllocStr(const char* text, bool trim = false, int length = -1);
  TStrHandle AllocWideStr(const char16_t* text, bool trim = false, int length = -1);

  // Another holder of the piece. Raises std::overflow_error past 65434 extra holders.
  void AddRef(TStrHandle h);
  // Drops one holder; the last one frees the piece. A handle that names no piece in use is
  // ignored, so releasing twice never puts a piece on a free list twice.
  void Free(TStrHandle h);

  // Frees every block and empties the free lists. System pieces survive it (their handles
  // stay valid) until they are freed one by one or the heap is destroyed.
  void Clear();

  // The piece's bytes; nullptr for 0 or a handle that names no piece of this heap.
  char* Ptr(TStrHandle h) const;
  // The size word: n * 8 for a pooled piece of class n (plus the few bytes left at the end
  // of a block it may have absorbed), the requested size for a system piece.
  std::uint32_t PieceSize(TStrHandle h) const;
  // Ptr() and PieceSize() at once; empty with a null pointer for a handle that names no piece.
  std::string_view Piece(TStrHandle h) const;
  // 100 freed, 101 one holder, 102 two holders, ...; 0 for a handle that names no piece.
  std::uint16_t Mark(TStrHandle h) const;

  // True while the heap holds no block and no system piece.
  bool Empty() const;
  // True while some system piece has not been freed.
  bool HasSystemPieces() const;

private:
  static constexpr std::size_t kClassCount = kMaxPooledSize / 8;

  char* Header(TStrHandle h) const;
  // The handle, and the piece's bytes in `bytes`; the same rules as Alloc().
  TStrHandle allocBytes(std::size_t size, char*& bytes);
  TStrHandle AllocPooled(std::size_t size, char*& bytes);
  TStrHandle AllocSystem(std::size_t size, char*& bytes);
  void StartBlock();

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t newestFree_ = 0;  // bytes still free at the end of the newest block
  std::array<TStrHandle, kClassCount> freeLists_{};  // class n at index n - 1
  std::vector<std::unique_ptr<char[]>> systemPieces_;
  std::vector<std::uint32_t> freeSystemSlots_;
  std::size_t liveSystemPieces_ = 0;
};
