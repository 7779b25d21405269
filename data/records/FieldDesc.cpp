#include "data/records/FieldDesc.h"

#include <algorithm>
#include <set>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

struct NameLess {
  bool operator()(const AnsiString& a, const AnsiString& b) const { return classes::compareText(a, b) < 0; }
};

}  // namespace

void TFieldDescs::Add(std::unique_ptr<TFieldDesc> desc) { descs_.push_back(std::move(desc)); }

TFieldDesc* TFieldDescs::FindField(const AnsiString& name) const {
  const bool qualified = name.find('.') != AnsiString::npos || name.find('[') != AnsiString::npos;
  for (const auto& desc : descs_)
    if (classes::sameText(qualified ? desc->ActualName : desc->Name, name)) return desc.get();
  return nullptr;
}

TFieldDesc& TFieldDescs::FieldByName(const AnsiString& name) const {
  if (TFieldDesc* desc = FindField(name)) return *desc;
  throw Exception("Field " + name + " not found");
}

void TFieldDescs::MakeNamesUnique() {
  std::vector<TFieldDesc*> sorted;
  for (const auto& desc : descs_)
    if (!desc->ParentField) sorted.push_back(desc.get());
  std::stable_sort(sorted.begin(), sorted.end(), [](const TFieldDesc* a, const TFieldDesc* b) {
    return classes::compareText(a->Name, b->Name) < 0;
  });
  std::set<AnsiString, NameLess> taken;
  // A new name wins over a later original one, which is then renamed in its turn.
  const auto uniqueFrom = [&](const AnsiString& base, int position) {
    AnsiString name;
    for (int k = position;; ++k) {
      name = base + "_" + std::to_string(k);
      if (!taken.count(name)) return name;
    }
  };
  for (std::size_t i = 0; i < sorted.size();) {
    std::size_t end = i + 1;
    while (end < sorted.size() && classes::sameText(sorted[end]->Name, sorted[i]->Name)) ++end;
    for (std::size_t j = i; j < end; ++j) {
      const int position = static_cast<int>(j - i);
      TFieldDesc& desc = *sorted[j];
      if (desc.Name.empty())
        desc.Name = uniqueFrom("", position);
      else if (position > 0 || taken.count(desc.Name))
        desc.Name = uniqueFrom(desc.Name, std::max(position, 1));
      taken.insert(desc.Name);
    }
    i = end;
  }
}
