#pragma once
// Collections: ordered lists of items of one class that the collection owns, such as the
// columns of a grid.
//
// Items are created with `new` (Add() does so through the collection's item class) and
// belong to their collection, which deletes them. Deleting an item directly takes it out of
// its collection. An item taken out with SetCollection(nullptr) belongs to the caller.
//
// Update(item) tells a collection subclass that something changed: item for a change
// within that one item, nullptr for a change to the collection as a whole (an item added,
// removed or moved). Between BeginUpdate() and the final EndUpdate() nothing is reported;
// if anything changed meanwhile, EndUpdate() reports Update(nullptr) once.

#include <vector>

#include "platform/classes/Persistent.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
  // Appends the item to `collection` (when given). Update(nullptr) arrives from here, before
  // the constructors of the item's own class have run, unless the collection is updating
  // (as Add() and Insert() make it).
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  const char* ClassName() const override { return "TCollectionItem"; }

  TCollection* Collection() const { return collection_; }
  // Moves the item to the end of `collection`, out of its current one.
  void SetCollection(TCollection* collection);
  // -1 without a collection.
  int Index() const;
  // Raises EListError for an index outside the collection.
  void SetIndex(int index);

protected:
  // Subclasses call this when their contents change: Update(this), or Update(nullptr) when
  // the change concerns all items (for example when it alters the layout of a grid).
  void Changed(bool allItems);

private:
  TCollection* collection_ = nullptr;
};

// Creates an item in the given collection; ItemClassOf<T> makes a T.
using TCollectionItemClass = TCollectionItem* (*)(TCollection* collection);

template <class Item>
TCollectionItem* ItemClassOf(TCollection* collection) {
  return new Item(collection);
}

class TCollection : public TPersistent {
public:
  explicit TCollection(TCollectionItemClass itemClass) : itemClass_(itemClass) {}
  // Deletes the items, the last first, without reporting updates.
  ~TCollection() override;

  const char* ClassName() const override { return "TCollection"; }

  TCollectionItemClass ItemClass() const { return itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EListError for an index outside 0..Count()-1.
  TCollectionItem* Items(int index) const;

  TCollectionItem* Add();
  // `index` may be Count(); raises EListError outside 0..Count().
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();

  // From another collection: as many new items as it has, each assigned from its
  // counterpart. Assigning a collection to itself changes nothing.
  void Assign(const TPersistent& source) override;

  void BeginUpdate() { ++updateCount_; }
  // Unmatched calls are ignored.
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

protected:
  virtual void Update(TCollectionItem* item);

private:
  friend class TCollectionItem;
  void changed(TCollectionItem* item);

  TCollectionItemClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  bool changedInUpdate_ = false;
};

// A collection that belongs to another object, as grid columns belong to their grid.
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass) : TCollection(itemClass), owner_(owner) {}

  const char* ClassName() const override { return "TOwnedCollection"; }
  TPersistent* Owner() const { return owner_; }

private:
  TPersistent* owner_;
};
