#pragma once
// Records live in items, items in blocks: one allocation holds a block header and a count
// of equal items, each an item header followed by one record.

#include <cstddef>
#include <cstdint>

struct TBlockHeader;

enum : std::uint8_t { kItemInUse = 0xEE, kItemFree = 0xDD };
enum TItemFilterState : std::uint8_t { ifsNotChecked = 0, ifsSelected = 1, ifsOmitted = 2 };
enum TItemStatus : std::uint8_t { isUnmodified = 0, isUpdated = 1, isAppended = 2, isDeleted = 3 };
inline constexpr std::uint8_t kNoUpdateResult = 5;

struct TItemHeader {
  TBlockHeader* Block;
  TItemHeader* Prev;
  TItemHeader* Next;
  std::byte* Rollback;
  std::uint8_t UpdateStatus;
  std::uint8_t UpdateResult;
  std::int32_t Order;
  std::uint8_t Flag;
  std::uint8_t FilterResult;

  // The record right after the header.
  std::byte* Record();
};

// Where an item's record starts: after its header, aligned like the header.
inline constexpr std::size_t kItemRecordOffset = (sizeof(TItemHeader) + 7) & ~std::size_t{7};
inline std::byte* TItemHeader::Record() { return reinterpret_cast<std::byte*>(this) + kItemRecordOffset; }

struct TBlockHeader {
  std::uint16_t ItemCount;
  std::uint16_t UsedItems;
  TBlockHeader* Prev;  // older block
  TBlockHeader* Next;  // newer block
};

class TBlockManager {
 public:
  TBlockManager() = default;
  ~TBlockManager() { FreeAll(); }
  TBlockManager(const TBlockManager&) = delete;
  TBlockManager& operator=(const TBlockManager&) = delete;

  // Only while no block exists.
  void SetRecordSize(std::size_t size) { recordSize_ = size; }
  std::size_t RecordSize() const { return recordSize_; }

  TBlockHeader* AllocBlock(std::uint16_t itemCount);
  void FreeBlock(TBlockHeader* block);
  TItemHeader* Item(TBlockHeader* block, int index) const;

  // An item of the free list, in use from now on; a block of DefaultItemCount comes when none is free.
  TItemHeader* AllocItem();
  // Back to the free list; the whole block goes when this was its last item in use.
  void FreeItem(TItemHeader* item);
  // Unused items of a freshly filled block go onto the free list.
  void PutFreeItem(TItemHeader* item);
  // Takes the block's free items off the free list, so that all its items can be filled anew.
  void TakeBackBlock(TBlockHeader* block);
  void FreeAll();

  int BlockCount() const { return blockCount_; }
  int FreeItemCount() const;
  std::size_t ItemSize() const;

  static constexpr std::uint16_t kDefaultItemCount = 10;

 private:
  void removeFromFreeList(TItemHeader* item);

  std::size_t recordSize_ = 0;
  TBlockHeader* newest_ = nullptr;
  TItemHeader* freeItems_ = nullptr;
  int blockCount_ = 0;
};
