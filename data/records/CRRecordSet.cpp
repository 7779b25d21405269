// TCRRecordSet: a provider's result read into the record list block by block.

#include <algorithm>

#include "data/records/MemData.h"

bool TCRRecordSet::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prUniDirectional:
      uniDirectional_ = std::get<bool>(value);
      if (uniDirectional_) fetchAll_ = false;
      return true;
    case prFetchRows: fetchRows_ = std::max(1, std::get<int>(value)); return true;
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

bool TCRRecordSet::FetchNextBlock() {
  if (fetchedAll_) return false;
  TBlockHeader* block = nullptr;
  const bool reuse = uniDirectional_ && FirstItem();
  if (reuse) {
    // Forward only: the one block takes the next rows once its records are given back.
    block = FirstItem()->Block;
    for (TItemHeader* item = FirstItem(); item; item = item->Next) FreeComplexFields(item->Record());
    forgetItems();
  } else {
    block = blocks_.AllocBlock(static_cast<std::uint16_t>(fetchRows_));
  }
  std::vector<TItemHeader*> filled;
  TItemHeader* item = nullptr;
  try {
    for (int i = 0; i < block->ItemCount && i < fetchRows_; ++i) {
      item = blocks_.Item(block, i);
      InitRecord(item->Record());
      if (!ReadRow(item->Record())) {
        FreeComplexFields(item->Record());
        item = nullptr;
        fetchedAll_ = true;
        break;
      }
      filled.push_back(item);
      item = nullptr;
    }
  } catch (...) {
    if (item) FreeComplexFields(item->Record());
    for (TItemHeader* done : filled) FreeComplexFields(done->Record());
    if (!reuse) blocks_.FreeBlock(block);
    fetchedAll_ = true;
    ReleaseCursor();
    throw;
  }
  if (!fetchedAll_ && NoMoreRows()) fetchedAll_ = true;
  if (filled.empty()) {
    if (!reuse) blocks_.FreeBlock(block);
    ReleaseCursor();
    return false;
  }
  LinkItems(filled);
  for (int i = static_cast<int>(filled.size()); i < block->ItemCount; ++i) {
    TItemHeader* unused = blocks_.Item(block, i);
    if (reuse)
      unused->Flag = kItemFree;
    else
      blocks_.PutFreeItem(unused);
  }
  block->UsedItems = static_cast<std::uint16_t>(filled.size());
  if (fetchedAll_) ReleaseCursor();
  return true;
}
