#include "platform/classes/Collection.h"

#include <algorithm>
#include <string>

#include "platform/classes/Exceptions.h"
#include "platform/classes/UpdateBlock.h"

namespace {

[[noreturn]] void indexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (TCollection* previous = collection_) {
    auto& items = previous->items_;
    items.erase(std::find(items.begin(), items.end(), this));
    collection_ = nullptr;
    previous->changed(nullptr);
  }
  if (collection) {
    collection->items_.push_back(this);
    collection_ = collection;
    collection->changed(nullptr);
  }
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  if (!collection_) return;
  auto& items = collection_->items_;
  if (index < 0 || index >= collection_->Count()) indexError(index);
  const int current = Index();
  if (current == index) return;
  const auto at = [&items](int i) { return items.begin() + i; };
  if (current < index)
    std::rotate(at(current), at(current + 1), at(index + 1));
  else
    std::rotate(at(index), at(current), at(current + 1));
  collection_->changed(nullptr);
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_) collection_->changed(allItems ? nullptr : this);
}

// TCollection

TCollection::~TCollection() {
  // Update() is TCollection's own by now, which reports nothing.
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) indexError(index);
  return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = nullptr;
  // Reported once the item is complete, not from its base constructor.
  classes::inUpdate(*this, [&] { item = itemClass_(this); });
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) indexError(index);
  TCollectionItem* item = nullptr;
  classes::inUpdate(*this, [&] {
    item = itemClass_(this);
    item->SetIndex(index);
  });
  return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  if (items_.empty()) return;
  classes::inUpdate(*this, [&] {
    while (!items_.empty()) delete items_.back();
  });
}

void TCollection::Assign(const TPersistent& source) {
  const auto* collection = dynamic_cast<const TCollection*>(&source);
  if (!collection) return TPersistent::Assign(source);
  if (collection == this) return;
  classes::inUpdate(*this, [&] {
    Clear();
    for (const TCollectionItem* item : collection->items_) Add()->Assign(*item);
  });
}

void TCollection::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !changedInUpdate_) return;
  changedInUpdate_ = false;
  Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::changed(TCollectionItem* item) {
  if (updateCount_ > 0)
    changedInUpdate_ = true;
  else
    Update(item);
}
