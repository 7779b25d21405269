// TMemData: the list of records, its navigation, numbering, bookmarks and filter.

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "data/records/MemData.h"

namespace {

std::atomic<int> refreshCounter{0};

}  // namespace

TMemData::TMemData() : refreshIteration_(++refreshCounter) {}

TMemData::~TMemData() { ClearItems(); }

void TMemData::LayoutChanged() {
  ClearItems();
  blocks_.SetRecordSize(static_cast<std::size_t>(RecordSize()));
  scratchA_ = AllocRecBuf();
  scratchB_ = AllocRecBuf();
  // The names are looked up again once the rows of the new layout are in.
  sortColumns_.clear();
}

void TMemData::ClearFields() {
  ClearItems();
  sortColumns_.clear();
  TData::ClearFields();
}

void TMemData::InternalClose() { ClearItems(); }

void TMemData::ClearItems() {
  // Pooled heap pieces go with the heap's blocks below: only blobs and the pieces too large
  // for the pool outlive them and are given back record by record.
  if (hasBlobFields_ || heap_.HasSystemPieces())
    for (TItemHeader* item = first_; item; item = item->Next) FreeStoredRecord(item->Record());
  borrowers_.clear();
  StringHeap().Clear();
  blocks_.FreeAll();
  first_ = last_ = current_ = nullptr;
  bof_ = eof_ = true;
  recordCount_ = 0;
  recNoOffset_ = 0;
  deletions_ = 0;
  lastOrder_ = 0;
  ++listResets_;
  refreshIteration_ = ++refreshCounter;
}

void TMemData::forgetItems() {
  first_ = last_ = current_ = nullptr;
  ++listResets_;
}

bool TMemData::omitted(TItemHeader* item) {
  if (item->FilterResult == ifsNotChecked) {
    bool pass = true;
    if (Filtered()) {
      const std::byte* record = item->Record();
      if (CalcRecordSize() > 0 && OnCalcFields) {
        std::memcpy(scratchA_.data(), record, static_cast<std::size_t>(RecordSize()));
        OnCalcFields(scratchA_.data());
        record = scratchA_.data();
      }
      pass = (!FilterFunc || FilterFunc(record)) && (!FilterItemFunc || FilterItemFunc(record));
    }
    item->FilterResult = pass ? ifsSelected : ifsOmitted;
  }
  return item->FilterResult == ifsOmitted;
}

void TMemData::copyOut(TItemHeader* item, std::byte* record) {
  if (!record) return;
  std::memcpy(record, item->Record(), static_cast<std::size_t>(RecordSize()));
  lendComplexFields(record);
  if (CalcRecordSize() > 0) {
    std::memset(record + RecordSize(), 0, static_cast<std::size_t>(CalcRecordSize()));
    if (OnCalcFields) OnCalcFields(record);
  }
}

void TMemData::LinkItems(const std::vector<TItemHeader*>& items) {
  for (TItemHeader* item : items) {
    item->Flag = kItemInUse;
    item->Rollback = nullptr;
    item->UpdateStatus = isUnmodified;
    item->UpdateResult = kNoUpdateResult;
    item->FilterResult = ifsNotChecked;
    item->Prev = last_;
    item->Next = nullptr;
    if (last_) last_->Next = item;
    else first_ = item;
    last_ = item;
    if (omitted(item)) {
      item->Order = 0;
    } else {
      item->Order = ++lastOrder_;
      ++recordCount_;
    }
  }
}

void TMemData::SetToBegin() {
  current_ = nullptr;
  bof_ = true;
  if (first_) eof_ = false;
}

void TMemData::SetToEnd() {
  FetchAllBlocks();
  current_ = nullptr;
  eof_ = true;
  if (first_) bof_ = false;
}

TItemHeader* TMemData::nextFetching(TItemHeader* item) {
  if (TItemHeader* next = item ? item->Next : first_) return next;
  const unsigned resets = listResets_;
  if (!FetchNextBlock()) return nullptr;
  // A forward-only result refilled its block: the list starts afresh with the new rows.
  if (resets != listResets_ || !item) return first_;
  return item->Next;
}

bool TMemData::GetNextRecord(std::byte* record) {
  if (eof_ && !bof_) return false;
  TItemHeader* item = nextFetching(bof_ || !current_ ? nullptr : current_);
  while (item && omitted(item)) item = nextFetching(item);
  if (!item) {
    if (!current_ || omitted(current_)) {
      current_ = nullptr;
      for (TItemHeader* i = last_; i; i = i->Prev)
        if (!omitted(i)) {
          current_ = i;
          break;
        }
    }
    eof_ = true;
    bof_ = !current_ && !first_;
    return false;
  }
  current_ = item;
  bof_ = eof_ = false;
  copyOut(item, record);
  return true;
}

bool TMemData::GetPriorRecord(std::byte* record) {
  if (UniDirectional() || (bof_ && !eof_)) {
    bof_ = true;
    return false;
  }
  TItemHeader* item = eof_ || !current_ ? last_ : current_->Prev;
  while (item && omitted(item)) item = item->Prev;
  if (!item) {
    bof_ = true;
    current_ = nullptr;
    return false;
  }
  current_ = item;
  bof_ = eof_ = false;
  copyOut(item, record);
  return true;
}

bool TMemData::GetRecord(std::byte* record) {
  if (!current_) return false;
  if (omitted(current_)) return GetNextRecord(record);
  copyOut(current_, record);
  return true;
}

int TMemData::RecordNo() const { return current_ && current_->Order > 0 ? current_->Order + recNoOffset_ : 0; }

void TMemData::SetRecordNo(int recNo) {
  if (recNo < 1 || !first_) return;
  const auto numberOf = [this](const TItemHeader* item) { return item->Order > 0 ? item->Order + recNoOffset_ : 0; };
  // Start from whichever of first, current and last numbered record is nearest. A hidden
  // first item stands before record 1.
  TItemHeader* lastNumbered = last_;
  while (lastNumbered && lastNumbered->Order == 0) lastNumbered = lastNumbered->Prev;
  TItemHeader* start = first_;
  int startNo = std::min(numberOf(first_), 1);
  for (TItemHeader* candidate : {current_, lastNumbered}) {
    if (candidate && candidate->Order > 0 && std::abs(numberOf(candidate) - recNo) < std::abs(startNo - recNo)) {
      start = candidate;
      startNo = numberOf(candidate);
    }
  }
  // The direction is fixed at the start: hidden records on the way carry no number to steer by.
  const bool forward = startNo < recNo;
  TItemHeader* item = start;
  while (numberOf(item) != recNo) {
    item = forward ? nextFetching(item) : item->Prev;
    if (!item) return;
    const int number = numberOf(item);
    if (number != 0 && (forward ? number > recNo : number < recNo)) return;
  }
  current_ = item;
  bof_ = eof_ = false;
}

TRecBookmark TMemData::GetBookmark() const {
  return {refreshIteration_, current_, current_ ? RecordNo() : -1, deletions_, listResets_};
}

bool TMemData::itemAlive(const TRecBookmark& bookmark) const {
  if (bookmark.RefreshIteration != refreshIteration_ || bookmark.ListResets != listResets_ || !bookmark.Item)
    return false;
  // After a deletion the item's block may be gone: only an item still in the list is trusted.
  if (bookmark.Deletions != deletions_) {
    for (TItemHeader* item = first_; item; item = item->Next)
      if (item == bookmark.Item) return true;
    return false;
  }
  return bookmark.Item->Flag == kItemInUse;
}

bool TMemData::SetToBookmark(const TRecBookmark& bookmark) {
  if (itemAlive(bookmark)) {
    current_ = bookmark.Item;
    bof_ = eof_ = false;
    return true;
  }
  TItemHeader* const was = current_;
  const bool bof = bof_, eof = eof_;
  SetRecordNo(bookmark.Order);
  if (bookmark.Order >= 1 && RecordNo() == bookmark.Order) return true;
  // The record went with an older list (or the number is past the records): landing anywhere
  // else would be another record.
  current_ = was;
  bof_ = bof;
  eof_ = eof;
  return false;
}

bool TMemData::BookmarkValid(const TRecBookmark& bookmark) const {
  if (itemAlive(bookmark)) {
    if (bookmark.Item->FilterResult == ifsOmitted) return false;
    return bookmark.Item->Order >= 1 && bookmark.Item->Order + recNoOffset_ <= recordCount_;
  }
  // A list refilled since holds only the records from its first one on.
  const int lowest = bookmark.ListResets != listResets_ && first_ && first_->Order > 0 ? first_->Order + recNoOffset_ : 1;
  return bookmark.Order >= lowest && bookmark.Order <= recordCount_;
}

int TMemData::CompareBookmarks(const TRecBookmark* a, const TRecBookmark* b) const {
  if (!a || !b) return (a ? 0 : 1) - (b ? 0 : 1);
  int x = a->Order, y = b->Order;
  if (a->RefreshIteration == b->RefreshIteration && itemAlive(*a) && itemAlive(*b)) {
    x = a->Item->Order;
    y = b->Item->Order;
  }
  return x < y ? -1 : x > y ? 1 : 0;
}

void TMemData::unlink(TItemHeader* item) {
  if (item->Prev) item->Prev->Next = item->Next;
  else first_ = item->Next;
  if (item->Next) item->Next->Prev = item->Prev;
  else last_ = item->Prev;
  item->Prev = item->Next = nullptr;
}

void TMemData::linkBefore(TItemHeader* item, TItemHeader* before) {
  item->Next = before;
  item->Prev = before ? before->Prev : last_;
  if (item->Prev) item->Prev->Next = item;
  else first_ = item;
  if (before) before->Prev = item;
  else last_ = item;
}

void TMemData::renumber() {
  int order = 0;
  for (TItemHeader* item = first_; item; item = item->Next) item->Order = omitted(item) ? 0 : ++order;
  recordCount_ = order;
  lastOrder_ = order;
  recNoOffset_ = 0;
}

TItemHeader* TMemData::newItemFrom(const std::byte* record) {
  TItemHeader* item = blocks_.AllocItem();
  try {
    CopyRecord(record, item->Record());
  } catch (...) {
    blocks_.FreeItem(item);
    throw;
  }
  item->UpdateStatus = isAppended;
  return item;
}

void TMemData::AppendRecord(const std::byte* record) {
  FetchAllBlocks();
  TItemHeader* item = newItemFrom(record);
  linkBefore(item, nullptr);
  current_ = item;
  bof_ = eof_ = false;
  keepInOrder(item);
}

void TMemData::InsertRecord(const std::byte* record) {
  TItemHeader* item = newItemFrom(record);
  linkBefore(item, current_ ? current_ : first_);
  current_ = item;
  bof_ = eof_ = false;
  keepInOrder(item);
}

void TMemData::UpdateRecord(const std::byte* record) {
  if (!current_) return;
  // The new content takes its holds before the old ones go: it may share the very same pieces.
  TRecordBytes fresh(static_cast<std::size_t>(RecordSize()));
  CopyRecord(record, fresh.data());
  FreeStoredRecord(current_->Record());
  std::memcpy(current_->Record(), fresh.data(), static_cast<std::size_t>(RecordSize()));
  current_->UpdateStatus = isUpdated;
  current_->FilterResult = ifsNotChecked;
  keepInOrder(current_);
}

void TMemData::DeleteRecord() {
  if (!current_) return;
  TItemHeader* item = current_;
  TItemHeader* next = item->Next ? item->Next : item->Prev;
  unlink(item);
  FreeStoredRecord(item->Record());
  blocks_.FreeItem(item);
  ++deletions_;
  current_ = next;
  renumber();
  if (!current_) {
    bof_ = eof_ = true;
  }
}

void TMemData::FilterUpdated() {
  for (TItemHeader* item = first_; item; item = item->Next) item->FilterResult = ifsNotChecked;
  renumber();
  if (current_ && omitted(current_)) current_ = nullptr;
}
