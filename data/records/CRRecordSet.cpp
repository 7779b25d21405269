// TCRRecordSet: a provider's result read into the record list block by block.

#include <algorithm>
#include <vector>

#include "data/records/MemData.h"
#include "platform/classes/Exceptions.h"

bool TCRRecordSet::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prUniDirectional:
      uniDirectional_ = std::get<bool>(value);
      if (uniDirectional_) fetchAll_ = false;
      return true;
    case prFetchRows: {
      const int rows = std::get<int>(value);
      CheckFetchRows(rows);
      fetchRows_ = rows;
      return true;
    }
    case prFetchAll:
      if (!lockFetchAll_) fetchAll_ = std::get<bool>(value) && !uniDirectional_;
      return true;
    case prLongStrings: longStrings_ = std::get<bool>(value); return true;
    case prFlatBuffers: flatBuffers_ = std::get<bool>(value); return true;
    case prIndexFieldNames: SetIndexFieldNames(std::get<AnsiString>(value)); return true;
    case prCompressBlobMode: compressBlobMode_ = std::get<int>(value); return true;
    case prLockFetchAll: lockFetchAll_ = std::get<bool>(value); return true;
    case prExtendedFieldsInfo: extendedFieldsInfo_ = std::get<bool>(value); return true;
    default: return TCRPropsObject::SetProp(prop, value);
  }
}

void CheckFetchRows(int rows) {
  if (rows < 1 || rows > kMaxFetchRows) throw Exception("FetchRows must be 1..65535");
}

bool TCRRecordSet::GetProp(int prop, TPropValue& value) const {
  switch (prop) {
    case prFetchAll: value = fetchAll_; return true;
    case prExtendedFieldsInfo: value = extendedFieldsInfo_; return true;
    case prFetchRows: value = fetchRows_; return true;
    case prUniDirectional: value = uniDirectional_; return true;
    default: return TCRPropsObject::GetProp(prop, value);
  }
}

void TCRRecordSet::InternalOpen() {
  ExecuteCommand();
  if (NeedsDescribe()) {
    ClearFields();
    CreateFieldDescs();
    InitFields();
  }
  fetchedAll_ = false;
  if (fetchAll_)
    FetchAllBlocks();
  else
    FetchNextBlock();
  ApplyLocalOrder();
  SetToBegin();
}

void TCRRecordSet::InternalClose() {
  ReleaseCursor();
  fetchedAll_ = true;
  TMemData::InternalClose();
}

TBlockHeader* TCRRecordSet::takeBackBlock() {
  TBlockHeader* reuse = nullptr;
  for (TItemHeader* item = FirstItem(); item && !reuse; item = item->Next)
    if (item->Block->ItemCount >= fetchRows_) reuse = item->Block;
  TItemHeader* item = FirstItem();
  forgetItems();
  // Records inserted into other blocks go back one by one; their blocks go with the last.
  while (item) {
    TItemHeader* next = item->Next;
    FreeStoredRecord(item->Record());
    if (item->Block != reuse) blocks_.FreeItem(item);
    item = next;
  }
  if (reuse) blocks_.TakeBackBlock(reuse);
  return reuse;
}

bool TCRRecordSet::FetchNextBlock() {
  if (fetchedAll_) return false;
  // Forward only: the block of the records read so far takes the next ones.
  TBlockHeader* block = uniDirectional_ && FirstItem() ? takeBackBlock() : nullptr;
  if (!block) block = blocks_.AllocBlock(static_cast<std::uint16_t>(fetchRows_));
  std::vector<TItemHeader*> filled;
  TItemHeader* item = nullptr;
  try {
    filled.reserve(std::min<std::size_t>(block->ItemCount, static_cast<std::size_t>(fetchRows_)));
    for (int i = 0; i < block->ItemCount && i < fetchRows_; ++i) {
      item = blocks_.Item(block, i);
      InitStoredRecord(item->Record());
      if (!ReadRow(item->Record())) {
        FreeStoredRecord(item->Record());
        item = nullptr;
        fetchedAll_ = true;
        break;
      }
      filled.push_back(item);
      item = nullptr;
    }
  } catch (...) {
    if (item) FreeStoredRecord(item->Record());
    for (TItemHeader* done : filled) FreeStoredRecord(done->Record());
    blocks_.FreeBlock(block);
    fetchedAll_ = true;
    ReleaseCursor();
    throw;
  }
  if (!fetchedAll_ && NoMoreRows()) fetchedAll_ = true;
  if (filled.empty()) {
    blocks_.FreeBlock(block);
    ReleaseCursor();
    return false;
  }
  LinkItems(filled);
  for (int i = static_cast<int>(filled.size()); i < block->ItemCount; ++i) blocks_.PutFreeItem(blocks_.Item(block, i));
  block->UsedItems = static_cast<std::uint16_t>(filled.size());
  if (fetchedAll_) ReleaseCursor();
  return true;
}
