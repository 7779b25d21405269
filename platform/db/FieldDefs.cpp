#include "platform/db/FieldDefs.h"

#include <memory>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"
#include "platform/db/DataSet.h"

// TFieldDef

TFieldDef::TFieldDef(TCollection* collection) : TCollectionItem(collection) {}

TFieldDef::~TFieldDef() = default;

TFieldDefs& TFieldDef::ChildDefs() {
  if (!childDefs_) {
    const auto* defs = dynamic_cast<const TFieldDefs*>(Collection());
    childDefs_ = std::make_unique<TFieldDefs>(defs ? defs->DataSet() : nullptr, this);
  }
  return *childDefs_;
}

bool TFieldDef::HasChildDefs() const { return childDefs_ && childDefs_->Count() > 0; }

TFieldDef* TFieldDef::ParentDef() const {
  const auto* defs = dynamic_cast<const TFieldDefs*>(Collection());
  return defs ? defs->ParentDef() : nullptr;
}

TField* TFieldDef::CreateField(TComponent* owner, TDataSet* dataSet) const {
  const TFieldClass make = DefaultFieldClass(dataType_);
  if (!make) throw EDatabaseError("Field '" + name_ + "' is of a type that has no field class");
  // Owned through `owner` once made; until it is attached, a failure deletes it here.
  std::unique_ptr<TField> field(make(owner));
  field->SetFieldName(name_);
  field->SetSize(size_);
  field->SetRequired(required_);
  field->SetReadOnly((attributes_ & faReadonly) != 0);
  field->fieldNo_ = fieldNo_;
  field->SetDataSet(dataSet);
  return field.release();
}

// TFieldDefs

TFieldDefs::TFieldDefs(TDataSet* dataSet, TFieldDef* parentDef)
    : TOwnedCollection(parentDef ? static_cast<TPersistent*>(parentDef) : dataSet, ItemClassOf<TFieldDef>),
      dataSet_(dataSet),
      parentDef_(parentDef) {}

TFieldDef* TFieldDefs::Items(int index) const { return static_cast<TFieldDef*>(TCollection::Items(index)); }

TFieldDef* TFieldDefs::Add(const AnsiString& name, TFieldType dataType, int size, bool required) {
  auto* def = static_cast<TFieldDef*>(TCollection::Add());
  def->SetName(name);
  def->SetDataType(dataType);
  def->SetSize(size);
  def->SetRequired(required);
  def->SetFieldNo(Count());
  return def;
}

int TFieldDefs::IndexOf(const AnsiString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (classes::sameText(Items(i)->Name(), name)) return i;
  return -1;
}

void TFieldDefs::Update() {
  if (updated_ || !dataSet_) return;
  dataSet_->InternalInitFieldDefs();
  updated_ = true;
}
