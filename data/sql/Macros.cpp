#include "data/sql/Macros.h"

#include "platform/classes/UpdateBlock.h"

void TUniMacro::set(AnsiString& field, const AnsiString& value) {
  if (field == value) return;
  field = value;
  Changed(false);
}

void TUniMacro::SetName(const AnsiString& name) { set(name_, name); }
void TUniMacro::SetValue(const AnsiString& value) { set(value_, value); }
void TUniMacro::SetCondition(const AnsiString& condition) { set(condition_, condition); }

void TUniMacro::Assign(const TPersistent& source) {
  const auto* macro = dynamic_cast<const TUniMacro*>(&source);
  if (!macro) return TCollectionItem::Assign(source);
  name_ = macro->name_;
  value_ = macro->value_;
  condition_ = macro->condition_;
  Changed(false);
}

TUniMacro* TUniMacros::Add(const AnsiString& name, const AnsiString& value, const AnsiString& condition) {
  TUniMacro* macro = nullptr;
  classes::inUpdate(*this, [&] {
    macro = Add();
    macro->SetName(name);
    macro->SetValue(value);
    macro->SetCondition(condition);
  });
  return macro;
}

void TUniMacros::Update(TCollectionItem*) { ++version_; }
