#pragma once
// A connection's named macros: the texts that "{name}" escapes of its statements expand to,
// each valid only while its condition is defined.

#include "platform/classes/Collection.h"
#include "platform/text/AnsiText.h"

class TUniMacro : public TCollectionItem {
 public:
  explicit TUniMacro(TCollection* collection) : TCollectionItem(collection) {}
  const char* ClassName() const override { return "TUniMacro"; }

  const AnsiString& Name() const { return name_; }
  void SetName(const AnsiString& name);
  const AnsiString& Value() const { return value_; }
  void SetValue(const AnsiString& value);
  // A macro name (or a predefined one such as SQLITE); empty means always.
  const AnsiString& Condition() const { return condition_; }
  void SetCondition(const AnsiString& condition);

  void Assign(const TPersistent& source) override;

 private:
  void set(AnsiString& field, const AnsiString& value);

  AnsiString name_, value_, condition_;
};

class TUniMacros : public TOwnedCollection {
 public:
  explicit TUniMacros(TPersistent* owner = nullptr) : TOwnedCollection(owner, ItemClassOf<TUniMacro>) {}
  const char* ClassName() const override { return "TUniMacros"; }

  TUniMacro* Add() { return static_cast<TUniMacro*>(TCollection::Add()); }
  // Appends a macro with these texts.
  TUniMacro* Add(const AnsiString& name, const AnsiString& value, const AnsiString& condition = AnsiString());
  TUniMacro* Items(int index) const { return static_cast<TUniMacro*>(TCollection::Items(index)); }

  // Grows with every change of the list or of a macro, so that whoever derived something from
  // the macros can tell whether it is still up to date.
  unsigned Version() const { return version_; }
  // Counts as a change: the connection calls it when its provider changes, since conditions
  // may name the provider's predefined macros.
  void MarkChanged() { ++version_; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  unsigned version_ = 0;
};
