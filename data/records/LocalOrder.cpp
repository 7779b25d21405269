// TMemData's local order: the sort columns of IndexFieldNames and the comparison of values.

#include <algorithm>

#include "data/records/MemData.h"
#include "data/records/TextCollation.h"
#include "data/records/ValueCodec.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

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

struct TIndexColumn {
  AnsiString Name;
  bool Descending = false;
  unsigned CompareFlags = 0;
};

// The columns of an IndexFieldNames text, checked for form only.
std::vector<TIndexColumn> parseIndexFieldNames(const AnsiString& names) {
  std::vector<TIndexColumn> columns;
  for (const auto& words : splitColumns(names)) {
    TIndexColumn column{words[0][0] == '[' ? words[0].substr(1) : words[0]};
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
  return columns;
}

// ASCII letters upper-cased, every other unit as it is.
WideString upperAscii(std::u16string_view s) {
  WideString upper(s);
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return upper;
}

bool startsWith(const AnsiString& s, const AnsiString& key, bool caseInsensitive) {
  return s.size() >= key.size() &&
         (caseInsensitive ? classes::sameText(std::string_view(s).substr(0, key.size()), key) : s.compare(0, key.size(), key) == 0);
}

bool startsWith(const WideString& s, const WideString& key, bool caseInsensitive) {
  return s.size() >= key.size() && (caseInsensitive ? upperAscii(std::u16string_view(s).substr(0, key.size())) == upperAscii(key)
                                                    : s.compare(0, key.size(), key) == 0);
}

bool contains(const AnsiString& s, const AnsiString& key, bool caseInsensitive) {
  return caseInsensitive ? text::upperAscii(s).find(text::upperAscii(key)) != AnsiString::npos : s.find(key) != AnsiString::npos;
}

bool contains(const WideString& s, const WideString& key, bool caseInsensitive) {
  return caseInsensitive ? upperAscii(s).find(upperAscii(key)) != WideString::npos : s.find(key) != WideString::npos;
}

// Flag 2: the text begins with the key; flag 4: the key occurs in it. Otherwise, and when
// that fails, binary order with flag 8, else the locale's order, without case with flag 1.
template <class S>
int compareTexts(const S& s, const S& key, unsigned flags) {
  const bool caseInsensitive = (flags & cfCaseInsensitive) != 0;
  if ((flags & cfPartialKey) && startsWith(s, key, caseInsensitive)) return 0;
  if ((flags & cfPartialCompare) && contains(s, key, caseInsensitive)) return 0;
  const int c = flags & cfBinary ? s.compare(key) : CollateText(s, key, caseInsensitive);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

}  // namespace

std::vector<TSortColumn> TMemData::sortColumnsOf(const AnsiString& names) const {
  std::vector<TSortColumn> columns;
  for (const TIndexColumn& column : parseIndexFieldNames(names))
    columns.push_back({&FieldByName(column.Name), column.Descending, column.CompareFlags});
  return columns;
}

void TMemData::SetIndexFieldNames(const AnsiString& names) {
  if (!Active()) {
    // The fields of the next open may differ: their names are looked up when its rows are in.
    parseIndexFieldNames(names);
    indexFieldNames_ = names;
    sortColumns_.clear();
    return;
  }
  std::vector<TSortColumn> columns = sortColumnsOf(names);
  indexFieldNames_ = names;
  sortColumns_ = std::move(columns);
  if (!sortColumns_.empty()) sortItems();
}

void TMemData::ApplyLocalOrder() {
  sortColumns_ = sortColumnsOf(indexFieldNames_);
  if (!sortColumns_.empty()) sortItems();
}

int TMemData::CompareFieldValues(const TFieldValue& a, const TFieldValue& b, unsigned flags,
                                 std::uint16_t dataType) const {
  const bool aNull = std::holds_alternative<std::monostate>(a), bNull = std::holds_alternative<std::monostate>(b);
  if (aNull || bNull) return aNull == bNull ? 0 : aNull ? -1 : 1;
  if (dataType == dcFMTBCD) {
    using Bytes = std::vector<std::uint8_t>;
    const auto* ra = std::get_if<Bytes>(&a);
    const auto* rb = std::get_if<Bytes>(&b);
    if (ra && rb) {
      codec::CheckFmtBcd(ra->data(), ra->size());
      codec::CheckFmtBcd(rb->data(), rb->size());
      return codec::CompareFmtBcd(ra->data(), rb->data());
    }
    const double x = codec::ToDouble(a, dcFMTBCD), y = codec::ToDouble(b, dcFMTBCD);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  const auto* sa = std::get_if<AnsiString>(&a);
  const auto* sb = std::get_if<AnsiString>(&b);
  const auto* wa = std::get_if<WideString>(&a);
  const auto* wb = std::get_if<WideString>(&b);
  if (sa && sb) return compareTexts(*sa, *sb, flags);
  if ((sa || wa) && (sb || wb)) {
    // 8-bit text against UTF-16 text: both as UTF-16.
    return compareTexts(wa ? *wa : text::ansiToWide(*sa), wb ? *wb : text::ansiToWide(*sb), flags);
  }
  const auto* ba = std::get_if<std::vector<std::uint8_t>>(&a);
  const auto* bb = std::get_if<std::vector<std::uint8_t>>(&b);
  if (ba && bb) return *ba < *bb ? -1 : *bb < *ba ? 1 : 0;
  if (sa || sb || wa || wb || ba || bb) throw EConvertError("Cannot convert type");
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
                                     column.CompareFlags, column.Field->DataType);
    if (c != 0) return column.Descending ? -c : c;
  }
  return 0;
}

void TMemData::sortItems() {
  // A forward-only result keeps one block of rows: fetching the rest would drop them.
  if (UniDirectional()) return;
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

