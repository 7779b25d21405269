#include "data/records/BlockManager.h"

#include <cstdlib>
#include <new>

namespace {
constexpr std::size_t kBlockHeaderSize = (sizeof(TBlockHeader) + 7) & ~std::size_t{7};
}  // namespace

std::size_t TBlockManager::ItemSize() const {
  // Items follow each other; every header stays aligned for its pointers.
  return (kItemRecordOffset + recordSize_ + 7) & ~std::size_t{7};
}

TBlockHeader* TBlockManager::AllocBlock(std::uint16_t itemCount) {
  void* memory = std::calloc(1, kBlockHeaderSize + itemCount * ItemSize());
  if (!memory) throw std::bad_alloc();
  auto* block = static_cast<TBlockHeader*>(memory);
  block->ItemCount = itemCount;
  block->UsedItems = itemCount;
  block->Prev = newest_;
  block->Next = nullptr;
  if (newest_) newest_->Next = block;
  newest_ = block;
  ++blockCount_;
  for (int i = 0; i < itemCount; ++i) Item(block, i)->Block = block;
  return block;
}

void TBlockManager::FreeBlock(TBlockHeader* block) {
  if (block->Prev) block->Prev->Next = block->Next;
  if (block->Next) block->Next->Prev = block->Prev;
  if (newest_ == block) newest_ = block->Prev;
  --blockCount_;
  std::free(block);
}

TItemHeader* TBlockManager::Item(TBlockHeader* block, int index) const {
  return reinterpret_cast<TItemHeader*>(reinterpret_cast<std::byte*>(block) + kBlockHeaderSize +
                                        static_cast<std::size_t>(index) * ItemSize());
}

void TBlockManager::PutFreeItem(TItemHeader* item) {
  item->Flag = kItemFree;
  item->Prev = nullptr;
  item->Next = freeItems_;
  if (freeItems_) freeItems_->Prev = item;
  freeItems_ = item;
}

TItemHeader* TBlockManager::AllocItem() {
  if (!freeItems_) {
    TBlockHeader* block = AllocBlock(kDefaultItemCount);
    block->UsedItems = 0;
    for (int i = kDefaultItemCount - 1; i >= 0; --i) PutFreeItem(Item(block, i));
  }
  TItemHeader* item = freeItems_;
  removeFromFreeList(item);
  item->Flag = kItemInUse;
  item->Rollback = nullptr;
  item->UpdateStatus = isUnmodified;
  item->UpdateResult = kNoUpdateResult;
  item->Order = 0;
  item->FilterResult = ifsNotChecked;
  item->Prev = item->Next = nullptr;
  ++item->Block->UsedItems;
  return item;
}

void TBlockManager::removeFromFreeList(TItemHeader* item) {
  if (item->Prev) item->Prev->Next = item->Next;
  if (item->Next) item->Next->Prev = item->Prev;
  if (freeItems_ == item) freeItems_ = item->Next;
  item->Prev = item->Next = nullptr;
}

void TBlockManager::FreeItem(TItemHeader* item) {
  TBlockHeader* block = item->Block;
  if (block->UsedItems > 1) {
    --block->UsedItems;
    PutFreeItem(item);
    return;
  }
  // The block's last item: its free siblings leave the free list and the block goes.
  for (int i = 0; i < block->ItemCount; ++i) {
    TItemHeader* sibling = Item(block, i);
    if (sibling != item && sibling->Flag == kItemFree) removeFromFreeList(sibling);
  }
  FreeBlock(block);
}

void TBlockManager::TakeBackBlock(TBlockHeader* block) {
  for (int i = 0; i < block->ItemCount; ++i) {
    TItemHeader* item = Item(block, i);
    if (item->Flag == kItemFree) removeFromFreeList(item);
    item->Flag = kItemInUse;
  }
  block->UsedItems = block->ItemCount;
}

void TBlockManager::FreeAll() {
  while (newest_) FreeBlock(newest_);
  freeItems_ = nullptr;
}

int TBlockManager::FreeItemCount() const {
  int n = 0;
  for (const TItemHeader* item = freeItems_; item; item = item->Next) ++n;
  return n;
}
