// TMemData: the list of records, its navigation, numbering, bookmarks, order and filter.

#include <algorithm>
#include <atomic>
#include <cstring>

#include "data/records/MemData.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

std::atomic<int> refreshCounter{0};

// Splits "tm DESC CIS; [zz] , nd" into the words of each column.
std::vector<std::vector<AnsiString>> splitColumns(const AnsiString& text) {
  std::vector<std::vector<AnsiString>> columns(1);
  AnsiString word;
  const auto endWord = [&] {
    if (!word.empty()) columns.back().push_back(word);
    word.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '[') {
      endWord();
      const auto close = text.find(']', i + 1);
      if (close == AnsiString::npos) throw Exception("Invalid IndexFieldNames format!");
      columns.back().push_back("[" + text.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == ';' || c == ',') {
      endWord();
      if (columns.back().empty()) throw Exception("Invalid IndexFieldNames format!");
      columns.emplace_back();
    } else if (static_cast<unsigned char>(c) <= ' ') {
      endWord();
    } else {
      word += c;
      // A double-byte character stays whole, whatever its second byte looks like.
      if (text::isLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) word += text[++i];
    }
  }
  endWord();
  if (columns.back().empty()) {
    if (columns.size() > 1) throw Exception("Invalid IndexFieldNames format!");
    columns.clear();
  }
  return columns;
}

}  // namespace

TMemData::TMemData() : refreshIteration_(++refreshCounter) {}

TMemData::~TMemData() { ClearItems(); }

void TMemData::LayoutChanged() {
  ClearItems();
  blocks_.SetRecordSize(static_cast<std::size_t>(RecordSize()));
  scratchA_ = AllocRecBuf();
  scratchB_ = AllocRecBuf();
  if (!indexFieldNames_.empty()) SetIndexFieldNames(indexFieldNames_);
}

void TMemData::ClearFields() {
  ClearItems();
  sortColumns_.clear();
  TData::ClearFields();
}

void TMemData::InternalClose() { ClearItems(); }

void TMemData::ClearItems() {
  for (TItemHeader* item = first_; item; item = item->Next) FreeComplexFields(item->Record());
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

TRecBookmark TMemData::GetBookmark() const { return {refreshIteration_, current_, current_ ? RecordNo() : -1, deletions_}; }

bool TMemData::itemAlive(const TRecBookmark& bookmark) const {
  if (bookmark.RefreshIteration != refreshIteration_ || !bookmark.Item) return false;
  // After a deletion the item's block may be gone: only an item still in the list is trusted.
  if (bookmark.Deletions != deletions_) {
    for (TItemHeader* item = first_; item; item = item->Next)
      if (item == bookmark.Item) return true;
    return false;
  }
  return bookmark.Item->Flag == kItemInUse;
}

void TMemData::SetToBookmark(const TRecBookmark& bookmark) {
  if (itemAlive(bookmark)) {
    current_ = bookmark.Item;
    bof_ = eof_ = false;
    return;
  }
  SetRecordNo(bookmark.Order);
}

bool TMemData::BookmarkValid(const TRecBookmark& bookmark) const {
  if (itemAlive(bookmark)) {
    if (bookmark.Item->FilterResult == ifsOmitted) return false;
    return bookmark.Item->Order >= 1 && bookmark.Item->Order + recNoOffset_ <= recordCount_;
  }
  return bookmark.Order >= 1 && bookmark.Order <= recordCount_;
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

void TMemData::AppendRecord(const std::byte* record) {
  FetchAllBlocks();
  TItemHeader* item = blocks_.AllocItem();
  CopyRecord(record, item->Record());
  item->UpdateStatus = isAppended;
  linkBefore(item, nullptr);
  current_ = item;
  bof_ = eof_ = false;
  keepInOrder(item);
}

void TMemData::InsertRecord(const std::byte* record) {
  TItemHeader* item = blocks_.AllocItem();
  CopyRecord(record, item->Record());
  item->UpdateStatus = isAppended;
  linkBefore(item, current_ ? current_ : first_);
  current_ = item;
  bof_ = eof_ = false;
  keepInOrder(item);
}

void TMemData::UpdateRecord(const std::byte* record) {
  if (!current_) return;
  FreeComplexFields(current_->Record());
  CopyRecord(record, current_->Record());
  current_->UpdateStatus = isUpdated;
  current_->FilterResult = ifsNotChecked;
  keepInOrder(current_);
}

void TMemData::DeleteRecord() {
  if (!current_) return;
  TItemHeader* item = current_;
  TItemHeader* next = item->Next ? item->Next : item->Prev;
  unlink(item);
  FreeComplexFields(item->Record());
  blocks_.FreeItem(item);
  ++deletions_;
  current_ = next;
  renumber();
  if (!current_) {
    bof_ = eof_ = true;
  }
}

int TMemData::CompareFieldValues(const TFieldValue& a, const TFieldValue& b, unsigned flags) const {
  const bool aNull = std::holds_alternative<std::monostate>(a), bNull = std::holds_alternative<std::monostate>(b);
  if (aNull || bNull) return aNull == bNull ? 0 : aNull ? -1 : 1;
  const auto* sa = std::get_if<AnsiString>(&a);
  const auto* sb = std::get_if<AnsiString>(&b);
  if (sa && sb) {
    if (flags & cfPartialKey) {
      const bool prefix = sa->size() >= sb->size() && ((flags & cfCaseInsensitive)
                                                           ? classes::sameText(sa->substr(0, sb->size()), *sb)
                                                           : sa->compare(0, sb->size(), *sb) == 0);
      if (prefix) return 0;
    }
    if (flags & cfPartialCompare) {
      const bool found = (flags & cfCaseInsensitive) ? text::upperAscii(*sa).find(text::upperAscii(*sb)) != AnsiString::npos
                                                     : sa->find(*sb) != AnsiString::npos;
      if (found) return 0;
    }
    // GBK sorts the common characters by reading, so byte order is the natural order.
    const int c = (flags & cfCaseInsensitive) && !(flags & cfBinary) ? classes::compareText(*sa, *sb) : sa->compare(*sb);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  const auto* wa = std::get_if<WideString>(&a);
  const auto* wb = std::get_if<WideString>(&b);
  if (wa && wb) return wa->compare(*wb) < 0 ? -1 : wa->compare(*wb) > 0 ? 1 : 0;
  const auto* ba = std::get_if<std::vector<std::uint8_t>>(&a);
  const auto* bb = std::get_if<std::vector<std::uint8_t>>(&b);
  if (ba && bb) return *ba < *bb ? -1 : *bb < *ba ? 1 : 0;
  if (sa || sb || wa || wb || ba || bb) throw Exception("Cannot convert type");
  // What is left are numbers and truth values: integers compare exactly unless a double joins.
  if (!std::holds_alternative<double>(a) && !std::holds_alternative<double>(b)) {
    const auto toInt = [](const TFieldValue& v) -> std::int64_t {
      if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
      if (const auto* l = std::get_if<std::int64_t>(&v)) return *l;
      return std::get<bool>(v);
    };
    const std::int64_t x = toInt(a), y = toInt(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  const auto toDouble = [](const TFieldValue& v) -> double {
    if (const auto* d = std::get_if<double>(&v)) return *d;
    if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
    if (const auto* l = std::get_if<std::int64_t>(&v)) return static_cast<double>(*l);
    return std::get<bool>(v);
  };
  const double x = toDouble(a), y = toDouble(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

int TMemData::compareItems(TItemHeader* a, TItemHeader* b) {
  const std::byte* ra = a->Record();
  const std::byte* rb = b->Record();
  const bool calculated = std::any_of(sortColumns_.begin(), sortColumns_.end(), [](const TSortColumn& c) {
    return c.Field->FieldDescKind == TFieldDescKind::fdkCalculated;
  });
  if (calculated) {
    copyOut(a, scratchA_.data());
    copyOut(b, scratchB_.data());
    ra = scratchA_.data();
    rb = scratchB_.data();
  }
  for (const TSortColumn& column : sortColumns_) {
    const int c = CompareFieldValues(GetValue(column.Field->FieldNo, ra), GetValue(column.Field->FieldNo, rb),
                                     column.CompareFlags);
    if (c != 0) return column.Descending ? -c : c;
  }
  return 0;
}

void TMemData::SetIndexFieldNames(const AnsiString& names) {
  std::vector<TSortColumn> columns;
  for (const auto& words : splitColumns(names)) {
    const AnsiString name = words[0][0] == '[' ? words[0].substr(1) : words[0];
    TFieldDesc* field = FindField(name);
    if (!field) throw Exception("Field " + name + " not found");
    TSortColumn column{field, false, 0};
    bool direction = false, comparison = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
      const AnsiString word = text::upperAscii(words[i]);
      if ((word == "ASC" || word == "DESC") && !direction) {
        direction = true;
        column.Descending = word == "DESC";
      } else if ((word == "CIS" || word == "CS" || word == "BIN") && !comparison) {
        comparison = true;
        column.CompareFlags = word == "CIS" ? unsigned{cfCaseInsensitive} : word == "BIN" ? unsigned{cfBinary} : 0u;
      } else {
        throw Exception("Invalid IndexFieldNames format!");
      }
    }
    columns.push_back(column);
  }
  indexFieldNames_ = names;
  sortColumns_ = std::move(columns);
  if (!sortColumns_.empty() && first_) sortItems();
}

void TMemData::sortItems() {
  FetchAllBlocks();
  std::vector<TItemHeader*> items;
  for (TItemHeader* item = first_; item; item = item->Next) items.push_back(item);
  // Stable: records that compare equal keep the order they came in.
  std::stable_sort(items.begin(), items.end(), [this](TItemHeader* a, TItemHeader* b) { return compareItems(a, b) < 0; });
  first_ = last_ = nullptr;
  for (TItemHeader* item : items) linkBefore(item, nullptr);
  renumber();
}

void TMemData::keepInOrder(TItemHeader* item) {
  if (!sortColumns_.empty()) {
    while (item->Prev && compareItems(item->Prev, item) > 0) {
      TItemHeader* before = item->Prev;
      unlink(item);
      linkBefore(item, before);
    }
    while (item->Next && compareItems(item, item->Next) > 0) {
      TItemHeader* after = item->Next->Next;
      unlink(item);
      linkBefore(item, after);
    }
  }
  renumber();
}

void TMemData::FilterUpdated() {
  for (TItemHeader* item = first_; item; item = item->Next) item->FilterResult = ifsNotChecked;
  renumber();
  if (current_ && omitted(current_)) current_ = nullptr;
}
