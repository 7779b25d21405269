#include "platform/classes/Strings.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"
#include "platform/classes/UpdateBlock.h"

namespace {

// The separator may be a byte that also occurs as the second half of a double-byte
// character; that occurrence is not a separator.
std::size_t findSeparator(const AnsiString& line, char separator) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (text::isLeadByte(byte) && i + 1 < line.size() &&
        classes::isTrailByte(static_cast<unsigned char>(line[i + 1]))) {
      ++i;
      continue;
    }
    if (line[i] == separator) return i;
  }
  return AnsiString::npos;
}

}  // namespace

// TStrings

int TStrings::AddObject(const AnsiString& s, TObject* object) {
  const int index = Count();
  InsertItem(index, s, object);
  return index;
}

void TStrings::InsertObject(int index, const AnsiString& s, TObject* object) { InsertItem(index, s, object); }

void TStrings::AddStrings(const TStrings& strings) {
  // Taken first: adding to a sorted list moves lines, and `strings` may be this list.
  std::vector<std::pair<AnsiString, TObject*>> lines;
  lines.reserve(static_cast<std::size_t>(strings.Count()));
  for (int i = 0; i < strings.Count(); ++i) lines.emplace_back(strings.Get(i), strings.Objects(i));
  classes::inUpdate(*this, [&] {
    for (const auto& [s, object] : lines) AddObject(s, object);
  });
}

void TStrings::Assign(const TPersistent& source) {
  const auto* strings = dynamic_cast<const TStrings*>(&source);
  if (!strings) return TPersistent::Assign(source);
  if (strings == this) return;
  classes::inUpdate(*this, [&] {
    Clear();
    nameValueSeparator_ = strings->nameValueSeparator_;
    AddStrings(*strings);
  });
}

int TStrings::IndexOf(const AnsiString& s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == object) return i;
  return -1;
}

int TStrings::IndexOfName(const AnsiString& name) const {
  for (int i = 0; i < Count(); ++i) {
    const AnsiString line = Get(i);
    const std::size_t at = findSeparator(line, nameValueSeparator_);
    if (at != AnsiString::npos && CompareStrings(line.substr(0, at), name) == 0) return i;
  }
  return -1;
}

AnsiString TStrings::Names(int index) const {
  const AnsiString line = Get(index);
  const std::size_t at = findSeparator(line, nameValueSeparator_);
  return at == AnsiString::npos ? AnsiString() : line.substr(0, at);
}

AnsiString TStrings::ValueFromIndex(int index) const {
  const AnsiString line = Get(index);
  const std::size_t at = findSeparator(line, nameValueSeparator_);
  return at == AnsiString::npos ? AnsiString() : line.substr(at + 1);
}

AnsiString TStrings::Values(const AnsiString& name) const {
  const int index = IndexOfName(name);
  return index < 0 ? AnsiString() : ValueFromIndex(index);
}

void TStrings::SetValue(const AnsiString& name, const AnsiString& value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  const AnsiString line = name + nameValueSeparator_ + value;
  if (index < 0)
    Add(line);
  else
    Put(index, line);
}

AnsiString TStrings::Text() const {
  AnsiString result;
  for (int i = 0; i < Count(); ++i) {
    result += Get(i);
    result += "\r\n";
  }
  return result;
}

void TStrings::SetText(const AnsiString& text) {
  classes::inUpdate(*this, [&] {
    Clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') continue;
      Add(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
    if (start < text.size()) Add(text.substr(start));
  });
}

void TStrings::BeginUpdate() { ++updateCount_; }

void TStrings::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ > 0 || !modifiedInUpdate_) return;
  modifiedInUpdate_ = false;
  fire(OnChange);
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const { return classes::compareText(a, b); }

void TStrings::Changing() {
  if (updateCount_ > 0 && modifiedInUpdate_) return;
  fire(OnChanging);
  // Only once the handler has let the change go ahead: if it throws, nothing changed.
  if (updateCount_ > 0) modifiedInUpdate_ = true;
}

void TStrings::Changed() {
  if (updateCount_ == 0) fire(OnChange);
}

void TStrings::fire(const TNotifyEvent& event) {
  if (!event) return;
  // A copy, so that a handler may reassign the event it runs from.
  const TNotifyEvent handler = event;
  handler(*this);
}

// TStringList

void TStringList::checkIndex(int index, int limit) const {
  if (index < 0 || index >= limit) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStringList::checkUnsorted() const {
  if (sorted_) throw EStringListError("Operation not allowed on sorted list");
}

AnsiString TStringList::Get(int index) const {
  checkIndex(index, Count());
  return items_[static_cast<std::size_t>(index)].text;
}

void TStringList::Put(int index, const AnsiString& s) {
  checkUnsorted();
  checkIndex(index, Count());
  Changing();
  items_[static_cast<std::size_t>(index)].text = s;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  checkIndex(index, Count());
  return items_[static_cast<std::size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
  checkIndex(index, Count());
  Changing();
  items_[static_cast<std::size_t>(index)].object = object;
  Changed();
}

int TStringList::AddObject(const AnsiString& s, TObject* object) {
  if (!sorted_) return TStrings::AddObject(s, object);
  int index = 0;
  if (Find(s, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        index = upperBound(s);
        break;
    }
  }
  InsertItem(index, s, object);
  return index;
}

void TStringList::InsertObject(int index, const AnsiString& s, TObject* object) {
  checkUnsorted();
  TStrings::InsertObject(index, s, object);
}

void TStringList::InsertItem(int index, const AnsiString& s, TObject* object) {
  checkIndex(index, Count() + 1);
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Delete(int index) {
  checkIndex(index, Count());
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  checkUnsorted();
  checkIndex(index1, Count());
  checkIndex(index2, Count());
  Changing();
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
  checkUnsorted();
  checkIndex(curIndex, Count());
  checkIndex(newIndex, Count());
  if (curIndex == newIndex) return;
  Changing();
  const auto at = [this](int i) { return items_.begin() + i; };
  if (curIndex < newIndex)
    std::rotate(at(curIndex), at(curIndex + 1), at(newIndex + 1));
  else
    std::rotate(at(newIndex), at(curIndex), at(curIndex + 1));
  Changed();
}

int TStringList::IndexOf(const AnsiString& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& s, int& index) const {
  int low = 0, high = Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (CompareStrings(items_[static_cast<std::size_t>(mid)].text, s) < 0)
      low = mid + 1;
    else
      high = mid;
  }
  index = low;
  return low < Count() && CompareStrings(items_[static_cast<std::size_t>(low)].text, s) == 0;
}

int TStringList::upperBound(const AnsiString& s) const {
  int low = 0, high = Count();
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (CompareStrings(items_[static_cast<std::size_t>(mid)].text, s) <= 0)
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}

void TStringList::Sort() {
  if (!sorted_) sortByText();
}

void TStringList::CustomSort(const SortCompare& compare) {
  checkUnsorted();
  sortBy(compare);
}

void TStringList::sortByText() {
  sortBy([](const TStringList& list, int a, int b) {
    return list.CompareStrings(list.items_[static_cast<std::size_t>(a)].text,
                               list.items_[static_cast<std::size_t>(b)].text);
  });
}

void TStringList::sortBy(const SortCompare& compare) {
  if (items_.size() < 2) return;
  // The order is worked out on the untouched list, so the comparison can use indexes and
  // a comparison that throws leaves the list as it was.
  std::vector<int> order(items_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });

  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int i : order) sorted.push_back(items_[static_cast<std::size_t>(i)]);
  Changing();
  items_ = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) sortByText();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  try {
    if (sorted_) sortByText();
  } catch (...) {
    caseSensitive_ = !caseSensitive;
    throw;
  }
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const {
  return caseSensitive_ ? a.compare(b) : TStrings::CompareStrings(a, b);
}
