#include "platform/db/Field.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"
#include "platform/db/DataSet.h"

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

AnsiString floatText(double value) {
  // Fifteen digits hide the binary noise of sums such as 0.1 + 0.2; to_chars ignores the
  // locale, which Qt sets from the environment.
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  return AnsiString(buffer, result.ptr);
}

AnsiString bytesText(const std::vector<std::uint8_t>& bytes) { return AnsiString(bytes.begin(), bytes.end()); }

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

AnsiString dateText(std::int64_t dayNumber) {
  // Beyond a few billion years the arithmetic below would overflow; no such date is real.
  if (dayNumber < -1'000'000'000'000 || dayNumber > 1'000'000'000'000) return std::to_string(dayNumber);
  // Civil date from a day count (proleptic Gregorian calendar), counted from 0000-03-01 so
  // that leap days fall at the end of a year; day 1 is 0001-01-01, 306 days after that start.
  const std::int64_t z = dayNumber - 1 + 306;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", static_cast<long long>(year),
                static_cast<long long>(month), static_cast<long long>(day));
  return buffer;
}

std::int64_t msInDay(std::int64_t ms) { return (ms % kMsPerDay + kMsPerDay) % kMsPerDay; }

AnsiString timeText(std::int64_t ms) {
  const std::int64_t inDay = msInDay(ms);
  const std::int64_t seconds = inDay / 1000;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return buffer;
}

// A number of a date or time field as a whole count (days or milliseconds); false for a
// value that is no number.
bool wholeNumber(const TFieldValue& value, std::int64_t& number) {
  if (const auto* i = std::get_if<std::int32_t>(&value)) {
    number = *i;
    return true;
  }
  if (const auto* i = std::get_if<std::int64_t>(&value)) {
    number = *i;
    return true;
  }
  if (const auto* d = std::get_if<double>(&value)) {
    if (!std::isfinite(*d) || std::fabs(*d) > 9.0e18) return false;
    number = std::llround(*d);
    return true;
  }
  return false;
}

std::string_view trimmedView(const AnsiString& s) { return text::trimmed(s); }

// The 34-byte decimal of the record buffer as text: byte 0 the digit count, byte 1 the sign
// (0x80) and the digits after the point (low six bits), then two digits a byte, high first.
bool bcdText(const std::vector<std::uint8_t>& bcd, AnsiString& out) {
  if (bcd.size() != 34) return false;
  const int precision = bcd[0];
  const int places = bcd[1] & 0x3F;
  if (precision > 64 || places > precision) return false;
  AnsiString digits;
  for (int i = 0; i < precision; ++i) {
    const int nibble = (bcd[2 + static_cast<std::size_t>(i) / 2] >> (i % 2 == 0 ? 4 : 0)) & 0x0F;
    if (nibble > 9) return false;
    digits.push_back(static_cast<char>('0' + nibble));
  }
  AnsiString whole = digits.substr(0, static_cast<std::size_t>(precision - places));
  AnsiString fraction = digits.substr(static_cast<std::size_t>(precision - places));
  whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.empty()) whole = "0";
  fraction.erase(fraction.find_last_not_of('0') + 1);
  out = fraction.empty() ? whole : whole + "." + fraction;
  if ((bcd[1] & 0x80) != 0 && out != "0") out.insert(0, "-");
  return true;
}

}  // namespace

// TField

TField::TField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, false) {}

TField::TField(TComponent* owner, TFieldType dataType, bool storedText)
    : TComponent(owner),
      dataType_(dataType),
      alignment_(IsNumericFieldType(dataType) ? taRightJustify : taLeftJustify),
      storedText_(storedText) {}

TField::~TField() {
  if (!dataSet_) return;
  TDataSet* dataSet = dataSet_;
  dataSet_ = nullptr;
  // The links of an open data set re-lay out; a destructor cannot pass on what they throw.
  try {
    dataSet->fields_.remove(this);
  } catch (...) {
  }
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->CheckInactive();
  if (dataSet) dataSet->CheckInactive();
  if (dataSet_) {
    TDataSet* previous = dataSet_;
    dataSet_ = nullptr;
    previous->fields_.remove(this);
  }
  if (dataSet) {
    dataSet_ = dataSet;
    dataSet->fields_.add(this);
  }
}

void TField::checkInactive() const {
  if (dataSet_) dataSet_->CheckInactive();
}

void TField::layoutChanged() const {
  if (dataSet_ && dataSet_->Active()) dataSet_->DataEvent(deLayoutChange, 0);
}

void TField::SetFieldName(const AnsiString& name) {
  checkInactive();
  fieldName_ = name;
}

void TField::SetFieldKind(TFieldKind kind) {
  if (kind == fieldKind_) return;
  checkInactive();
  fieldKind_ = kind;
  if (dataSet_) dataSet_->fieldListChanged();
}

void TField::SetSize(int size) {
  checkInactive();
  size_ = size;
}

void TField::SetDisplayLabel(const AnsiString& label) {
  if (label == displayLabel_) return;
  displayLabel_ = label;
  layoutChanged();
}

void TField::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  layoutChanged();
}

int TField::Index() const { return dataSet_ ? dataSet_->fields_.IndexOf(this) : -1; }

void TField::SetIndex(int index) {
  if (dataSet_) dataSet_->fields_.move(this, index);
}

bool TField::CanModify() const { return !readOnly_ && fieldKind_ == fkData && dataSet_ && dataSet_->CanModify(); }

TFieldValue TField::Value() const {
  if (!dataSet_) return {};
  const TRecordBuffer buffer = dataSet_->fieldBuffer();
  if (!buffer) return {};
  TFieldValue value;
  if (!dataSet_->GetFieldData(*this, buffer, value)) return {};
  return value;
}

void TField::SetValue(const TFieldValue& value) {
  if (!dataSet_ || fieldKind_ != fkCalculated || dataSet_->State() != dsCalcFields) {
    if (readOnly_ || fieldKind_ == fkCalculated) throw EDatabaseError("Field '" + fieldName_ + "' cannot be modified");
    throw EDatabaseError("Dataset not in edit or insert mode");
  }
  dataSet_->SetFieldData(*this, dataSet_->calcBuffer_, value);
}

AnsiString TField::AsString() const {
  // Reading a whole list spends most of its time here: a text goes straight from the record.
  if (storedText_ && dataSet_) {
    const TRecordBuffer buffer = dataSet_->fieldBuffer();
    if (!buffer) return {};
    AnsiString text;
    if (dataSet_->GetFieldText(*this, buffer, text)) return text;
  }
  return GetAsString(Value());
}

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(Value()); }

std::int32_t TField::AsInteger() const {
  const TFieldValue value = Value();
  const std::int64_t number = GetAsLargeInt(value);
  if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
    ConvertError(GetAsString(value), "integer");
  return static_cast<std::int32_t>(number);
}

void TField::FocusControl() {
  if (!dataSet_ || !dataSet_->Active()) return;
  TField* field = this;
  dataSet_->DataEvent(deFocusControl, reinterpret_cast<std::intptr_t>(&field));
}

void TField::ConvertError(const AnsiString& text, const char* kind) const {
  throw EConvertError("'" + text + "' is not a valid " + kind + " value for field '" + fieldName_ + "'");
}

AnsiString TField::GetAsString(const TFieldValue& value) const {
  return std::visit(Overloaded{
                        [](std::monostate) { return AnsiString(); },
                        [](bool b) { return AnsiString(b ? "True" : "False"); },
                        [](std::int32_t i) { return AnsiString(std::to_string(i)); },
                        [](std::int64_t i) { return AnsiString(std::to_string(i)); },
                        [](double d) { return floatText(d); },
                        [](const AnsiString& s) { return s; },
                        [](const WideString& w) { return text::wideToAnsi(w); },
                        [](const std::vector<std::uint8_t>& bytes) { return bytesText(bytes); },
                    },
                    value);
}

std::int64_t TField::GetAsLargeInt(const TFieldValue& value) const {
  const auto fromText = [this](const AnsiString& s) {
    const std::string_view digits = trimmedView(s);
    std::int64_t number = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
      ConvertError(s, "integer");
    return number;
  };
  return std::visit(Overloaded{
                        [](std::monostate) -> std::int64_t { return 0; },
                        [](bool b) -> std::int64_t { return b ? 1 : 0; },
                        [](std::int32_t i) -> std::int64_t { return i; },
                        [](std::int64_t i) { return i; },
                        [this](double d) -> std::int64_t {
                          if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) ConvertError(floatText(d), "integer");
                          return std::llround(d);
                        },
                        [&](const AnsiString& s) { return fromText(s); },
                        [&](const WideString& w) { return fromText(text::wideToAnsi(w)); },
                        [&](const std::vector<std::uint8_t>& bytes) { return fromText(bytesText(bytes)); },
                    },
                    value);
}

double TField::GetAsFloat(const TFieldValue& value) const {
  const auto fromText = [this](const AnsiString& s) {
    const std::string_view digits = trimmedView(s);
    double number = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size())
      ConvertError(s, "floating point");
    return number;
  };
  return std::visit(Overloaded{
                        [](std::monostate) { return 0.0; },
                        [](bool b) { return b ? 1.0 : 0.0; },
                        [](std::int32_t i) { return static_cast<double>(i); },
                        [](std::int64_t i) { return static_cast<double>(i); },
                        [](double d) { return d; },
                        [&](const AnsiString& s) { return fromText(s); },
                        [&](const WideString& w) { return fromText(text::wideToAnsi(w)); },
                        [&](const std::vector<std::uint8_t>& bytes) { return fromText(bytesText(bytes)); },
                    },
                    value);
}

bool TField::GetAsBoolean(const TFieldValue& value) const {
  const auto fromText = [this](const AnsiString& s) {
    const std::string_view word = trimmedView(s);
    if (word.empty()) return false;
    switch (word.front()) {
      case 'T':
      case 't':
      case 'Y':
      case 'y':
      case '1':
        return true;
      case 'F':
      case 'f':
      case 'N':
      case 'n':
      case '0':
        return false;
      default:
        ConvertError(s, "boolean");
    }
  };
  return std::visit(Overloaded{
                        [](std::monostate) { return false; },
                        [](bool b) { return b; },
                        [](std::int32_t i) { return i != 0; },
                        [](std::int64_t i) { return i != 0; },
                        [](double d) { return d != 0; },
                        [&](const AnsiString& s) { return fromText(s); },
                        [&](const WideString& w) { return fromText(text::wideToAnsi(w)); },
                        [&](const std::vector<std::uint8_t>& bytes) { return fromText(bytesText(bytes)); },
                    },
                    value);
}

int TField::DefaultDisplayWidth() const {
  switch (dataType_) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
      return size_;
    case ftSmallint:
      return 6;
    case ftInteger:
      return 11;
    case ftWord:
      return 5;
    case ftLargeint:
      return 20;
    case ftBoolean:
      return 5;
    case ftDate:
      return 10;
    case ftTime:
      return 8;
    case ftDateTime:
      return 19;
    default:
      return 10;
  }
}

// Field classes

TStringField::TStringField(TComponent* owner, TFieldType dataType) : TField(owner, dataType, true) { SetSize(20); }

TGuidField::TGuidField(TComponent* owner) : TStringField(owner, ftGuid) { SetSize(38); }

AnsiString TFMTBCDField::GetAsString(const TFieldValue& value) const {
  const auto* bcd = std::get_if<std::vector<std::uint8_t>>(&value);
  if (!bcd) return TField::GetAsString(value);
  AnsiString text;
  if (!bcdText(*bcd, text)) ConvertError(bytesText(*bcd), "BCD");
  return text;
}

std::int64_t TFMTBCDField::GetAsLargeInt(const TFieldValue& value) const {
  if (!std::holds_alternative<std::vector<std::uint8_t>>(value)) return TField::GetAsLargeInt(value);
  const AnsiString text = GetAsString(value);
  if (text.find('.') == AnsiString::npos) return TField::GetAsLargeInt(text);
  return TField::GetAsLargeInt(TField::GetAsFloat(text));
}

double TFMTBCDField::GetAsFloat(const TFieldValue& value) const {
  if (!std::holds_alternative<std::vector<std::uint8_t>>(value)) return TField::GetAsFloat(value);
  return TField::GetAsFloat(GetAsString(value));
}

AnsiString TDateTimeField::GetAsString(const TFieldValue& value) const {
  std::int64_t ms = 0;
  if (!wholeNumber(value, ms)) return TField::GetAsString(value);
  return dateText(floorDiv(ms, kMsPerDay)) + " " + timeText(msInDay(ms));
}

AnsiString TDateField::GetAsString(const TFieldValue& value) const {
  std::int64_t day = 0;
  return wholeNumber(value, day) ? dateText(day) : TField::GetAsString(value);
}

AnsiString TTimeField::GetAsString(const TFieldValue& value) const {
  std::int64_t ms = 0;
  return wholeNumber(value, ms) ? timeText(ms) : TField::GetAsString(value);
}

TFieldClass DefaultFieldClass(TFieldType type) {
  switch (type) {
    case ftString:
      return FieldClassOf<TStringField>;
    case ftSmallint:
      return FieldClassOf<TSmallintField>;
    case ftInteger:
      return FieldClassOf<TIntegerField>;
    case ftWord:
      return FieldClassOf<TWordField>;
    case ftBoolean:
      return FieldClassOf<TBooleanField>;
    case ftFloat:
      return FieldClassOf<TFloatField>;
    case ftCurrency:
      return FieldClassOf<TCurrencyField>;
    case ftBCD:
      return FieldClassOf<TBCDField>;
    case ftDate:
      return FieldClassOf<TDateField>;
    case ftTime:
      return FieldClassOf<TTimeField>;
    case ftDateTime:
      return FieldClassOf<TDateTimeField>;
    case ftBytes:
      return FieldClassOf<TBytesField>;
    case ftVarBytes:
      return FieldClassOf<TVarBytesField>;
    case ftBlob:
      return FieldClassOf<TBlobField>;
    case ftMemo:
      return FieldClassOf<TMemoField>;
    case ftWideString:
      return FieldClassOf<TWideStringField>;
    case ftLargeint:
      return FieldClassOf<TLargeintField>;
    case ftGuid:
      return FieldClassOf<TGuidField>;
    case ftFMTBcd:
      return FieldClassOf<TFMTBCDField>;
    case ftVariant:
      return FieldClassOf<TVariantField>;
    default:
      return nullptr;
  }
}

// TFields

TField* TFields::operator[](int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return list_[static_cast<std::size_t>(index)];
}

int TFields::IndexOf(const TField* field) const {
  const auto at = std::find(list_.begin(), list_.end(), field);
  return at == list_.end() ? -1 : static_cast<int>(at - list_.begin());
}

TField* TFields::FindField(const AnsiString& name) const {
  for (TField* field : list_)
    if (classes::sameText(field->FieldName(), name)) return field;
  return nullptr;
}

TField& TFields::FieldByName(const AnsiString& name) const {
  if (TField* field = FindField(name)) return *field;
  throw EDatabaseError("Field '" + name + "' not found");
}

void TFields::add(TField* field) {
  list_.push_back(field);
  dataSet_->fieldListChanged();
}

void TFields::remove(TField* field) {
  const auto at = std::find(list_.begin(), list_.end(), field);
  if (at == list_.end()) return;
  list_.erase(at);
  dataSet_->fieldListChanged();
}

void TFields::move(TField* field, int index) {
  const int current = IndexOf(field);
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (current < 0 || current == index) return;
  const auto at = [this](int i) { return list_.begin() + i; };
  if (current < index)
    std::rotate(at(current), at(current + 1), at(index + 1));
  else
    std::rotate(at(index), at(current), at(current + 1));
  dataSet_->fieldListChanged();
}
