#include "data/records/MemData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/records/Blob.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

// Days from 0001-01-01 (day 1) to 1899-12-30, the zero of a date-time double.
constexpr double kDateDelta = 693594;
constexpr double kMsPerDay = 86400000.0;

template <class T>
T load(const std::byte* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

template <class T>
void store(std::byte* at, T value) {
  std::memcpy(at, &value, sizeof value);
}

bool isHeapCode(std::uint16_t code) { return code == dcHeapString || code == dcHeapVarBytes || code == dcHeapWideString; }

AnsiString addCarriageReturns(const AnsiString& text) {
  AnsiString out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

template <class S>
void trimTrailingBlanks(S& s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
}

double asDouble(const TFieldValue& v) {
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* l = std::get_if<std::int64_t>(&v)) return static_cast<double>(*l);
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  throw Exception("Cannot convert type");
}

std::int64_t asInteger(const TFieldValue& v) {
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* l = std::get_if<std::int64_t>(&v)) return *l;
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (const auto* d = std::get_if<double>(&v)) return static_cast<std::int64_t>(std::llround(*d));
  throw Exception("Cannot convert type");
}

const AnsiString& asText(const TFieldValue& v) {
  if (const auto* s = std::get_if<AnsiString>(&v)) return *s;
  throw Exception("Cannot convert type");
}

}  // namespace

// ---- TData -----------------------------------------------------------------------------------

TData::TData() = default;

TData::~TData() = default;

void TData::Open() {
  if (active_) return;
  try {
    InternalPrepare();
    InternalOpen();
    active_ = true;
  } catch (...) {
    InternalClose();
    throw;
  }
}

void TData::Close() {
  InternalClose();
  active_ = false;
}

void TData::Reopen() {
  Close();
  Open();
}

void TData::InternalClose() {}

void TData::ClearFields() {
  fields_.Clear();
  dataSize_ = recordSize_ = calcRecordSize_ = 0;
}

void TData::InitFields() {
  if (AutoInitFields) fields_.MakeNamesUnique();
  int size = 0;
  for (int i = 0; i < fields_.Count(); ++i) {
    TFieldDesc& field = fields_[i];
    if (field.FieldDescKind == TFieldDescKind::fdkCalculated || field.ParentField) continue;
    // UTF-16 text starts at an even offset.
    if (field.DataType == dcWideString && size % 2) ++size;
    field.Offset = size;
    size += field.Size;
  }
  dataSize_ = size;
  recordSize_ = dataSize_ + fields_.Count();
  recordSize_ += (recordSize_ + 1) % 2;
  int calc = 0;
  for (int i = 0; i < fields_.Count(); ++i) {
    TFieldDesc& field = fields_[i];
    if (field.FieldDescKind != TFieldDescKind::fdkCalculated) continue;
    if (field.DataType == dcWideString && (recordSize_ + calc) % 2) ++calc;
    field.Offset = recordSize_ + calc;
    calc += field.Size;
  }
  if (calc > 0) calc += (calc + 1) % 2;
  calcRecordSize_ = calc;
  LayoutChanged();
}

TRecordBytes TData::AllocRecBuf() const {
  return TRecordBytes(static_cast<std::size_t>(recordSize_ + calcRecordSize_));
}

std::uint32_t TData::handleAt(const std::byte* record, const TFieldDesc& field) const {
  return load<std::uint32_t>(record + field.Offset);
}

void TData::setHandle(std::byte* record, const TFieldDesc& field, std::uint32_t handle) const {
  store<std::uint32_t>(record + field.Offset, handle);
}

bool TData::GetNull(int fieldNo, const std::byte* record) const {
  const TFieldDesc& field = Field(fieldNo);
  const bool indicator = record[dataSize_ + fieldNo - 1] == std::byte{1};
  // A blob that holds data has a value, whatever its indicator says.
  if (indicator && field.IsBlob())
    if (const TBlob* blob = blobs_.Find(handleAt(record, field))) return blob->IsEmpty();
  return indicator;
}

void TData::SetNull(int fieldNo, std::byte* record, bool isNull) {
  const TFieldDesc& field = Field(fieldNo);
  record[dataSize_ + fieldNo - 1] = isNull ? std::byte{1} : std::byte{0};
  if (!isNull) return;
  if (field.IsBlob()) {
    if (TBlob* blob = blobs_.Find(handleAt(record, field))) blob->Clear();
  } else if (isHeapCode(field.DataType)) {
    heap_.Free(handleAt(record, field));
    setHandle(record, field, 0);
  }
}

TBlob& TData::GetBlob(int fieldNo, const std::byte* record) const {
  const TFieldDesc& field = Field(fieldNo);
  if (!field.IsBlob()) throw Exception("Field is not BLOB");
  return blobs_.Get(handleAt(record, field));
}

void TData::InitRecord(std::byte* record) {
  std::memset(record, 0, static_cast<std::size_t>(recordSize_));
  for (int i = 0; i < fields_.Count(); ++i) {
    record[dataSize_ + i] = std::byte{1};
    const TFieldDesc& field = fields_[i];
    if (field.IsBlob() && field.FieldDescKind != TFieldDescKind::fdkCalculated && !field.ParentField)
      setHandle(record, field, blobs_.Create(field.DataType == dcWideMemo));
  }
}

void TData::FreeComplexFields(std::byte* record) {
  for (int i = 0; i < fields_.Count(); ++i) {
    const TFieldDesc& field = fields_[i];
    if (!field.IsComplex() || field.FieldDescKind == TFieldDescKind::fdkCalculated || field.ParentField) continue;
    const std::uint32_t handle = handleAt(record, field);
    if (handle == 0) continue;
    if (field.IsBlob())
      blobs_.Remove(handle);
    else if (isHeapCode(field.DataType))
      heap_.Free(handle);
    setHandle(record, field, 0);
  }
}

void TData::CopyRecord(const std::byte* source, std::byte* dest) {
  std::memcpy(dest, source, static_cast<std::size_t>(recordSize_));
  OwnComplexFields(dest);
}

void TData::OwnComplexFields(std::byte* record) {
  for (int i = 0; i < fields_.Count(); ++i) {
    const TFieldDesc& field = fields_[i];
    if (!field.IsComplex() || field.FieldDescKind == TFieldDescKind::fdkCalculated || field.ParentField) continue;
    const std::uint32_t handle = handleAt(record, field);
    if (handle == 0) continue;
    if (isHeapCode(field.DataType)) {
      heap_.AddRef(handle);  // one more holder of the same piece
    } else if (field.IsBlob()) {
      const TBlob* from = blobs_.Find(handle);
      const std::uint32_t copy = blobs_.Create(field.DataType == dcWideMemo);
      if (from && !from->IsEmpty()) {
        std::vector<char> bytes(from->Size());
        from->Read(0, bytes.size(), bytes.data());
        blobs_.Find(copy)->Write(0, bytes.size(), bytes.data());
      }
      setHandle(record, field, copy);
    }
  }
}

TFieldValue TData::GetValue(int fieldNo, const std::byte* record) const {
  if (GetNull(fieldNo, record)) return {};
  const TFieldDesc& field = Field(fieldNo);
  const std::byte* at = record + field.Offset;
  const auto finishText = [&](AnsiString s) -> TFieldValue {
    if (ConvertEOL) s = addCarriageReturns(s);
    if (field.Fixed ? TrimFixedChar : TrimVarChar) trimTrailingBlanks(s);
    return s;
  };
  switch (field.DataType) {
    case dcString:
    case dcGuid: {
      const auto* text = reinterpret_cast<const char*>(at);
      return finishText(AnsiString(text, strnlen(text, static_cast<std::size_t>(field.Size))));
    }
    case dcHeapString: {
      const std::uint32_t handle = handleAt(record, field);
      const char* text = handle ? heap_.Ptr(handle) : "";
      return finishText(AnsiString(text, handle ? strnlen(text, heap_.PieceSize(handle)) : 0));
    }
    case dcWideString:
    case dcHeapWideString: {
      // The text lies in the record, or in a heap piece the record refers to.
      const std::byte* units = at;
      std::size_t limit = static_cast<std::size_t>(field.Size) / 2;
      if (field.DataType == dcHeapWideString) {
        const std::uint32_t handle = handleAt(record, field);
        units = handle ? reinterpret_cast<const std::byte*>(heap_.Ptr(handle)) : nullptr;
        limit = handle ? heap_.PieceSize(handle) / 2 : 0;
      }
      WideString s;
      for (std::size_t i = 0; i < limit; ++i) {
        const auto unit = load<char16_t>(units + 2 * i);
        if (unit == 0) break;
        s.push_back(unit);
      }
      if (field.Fixed ? TrimFixedChar : TrimVarChar) trimTrailingBlanks(s);
      return s;
    }
    case dcInt8: return static_cast<std::int32_t>(load<std::int8_t>(at));
    case dcSmallint: return static_cast<std::int32_t>(load<std::int16_t>(at));
    case dcWord: return static_cast<std::int32_t>(load<std::uint16_t>(at));
    case dcInteger: return load<std::int32_t>(at);
    case dcUInt32: return static_cast<std::int64_t>(load<std::uint32_t>(at));
    case dcLargeint: return load<std::int64_t>(at);
    case dcBoolean: return load<std::int16_t>(at) != 0;
    case dcFloat:
    case dcCurrency: return load<double>(at);
    case dcBCD: return static_cast<double>(load<std::int64_t>(at)) / 10000.0;
    case dcDate: return static_cast<std::int32_t>(std::floor(load<double>(at)) + kDateDelta);
    case dcTime: {
      const double d = load<double>(at);
      return static_cast<std::int32_t>(std::llround((d - std::floor(d)) * kMsPerDay));
    }
    case dcDateTime: {
      const double d = load<double>(at);
      const double days = std::floor(d);
      return (days + kDateDelta) * kMsPerDay + std::round((d - days) * kMsPerDay);
    }
    case dcVarBytes: {
      const auto length = std::min<std::size_t>(load<std::uint16_t>(at), static_cast<std::size_t>(field.Size) - 2);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(at + 2);
      return std::vector<std::uint8_t>(bytes, bytes + length);
    }
    case dcHeapVarBytes: {
      const std::uint32_t handle = handleAt(record, field);
      if (!handle) return std::vector<std::uint8_t>();
      const auto* piece = reinterpret_cast<const std::byte*>(heap_.Ptr(handle));
      const auto length = std::min<std::size_t>(load<std::uint16_t>(piece), heap_.PieceSize(handle) - 2);
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(piece + 2);
      return std::vector<std::uint8_t>(bytes, bytes + length);
    }
    case dcMemo: return GetBlob(fieldNo, record).AsString();
    case dcWideMemo: return GetBlob(fieldNo, record).AsWideString();
    case dcBlob: {
      const TBlob& blob = GetBlob(fieldNo, record);
      std::vector<std::uint8_t> bytes(blob.Size());
      blob.Read(0, bytes.size(), bytes.data());
      return bytes;
    }
    default: {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(at);
      return std::vector<std::uint8_t>(bytes, bytes + field.Size);
    }
  }
}

void TData::PutValue(int fieldNo, std::byte* record, const TFieldValue& value) {
  const TFieldDesc& field = Field(fieldNo);
  if (std::holds_alternative<std::monostate>(value)) {
    SetNull(fieldNo, record, true);
    return;
  }
  std::byte* at = record + field.Offset;
  const bool textCode = field.DataType == dcString || field.DataType == dcHeapString ||
                        field.DataType == dcWideString || field.DataType == dcHeapWideString;
  if (textCode && SetEmptyStrToNull) {
    const bool empty = std::holds_alternative<AnsiString>(value) ? std::get<AnsiString>(value).empty()
                       : std::holds_alternative<WideString>(value) ? std::get<WideString>(value).empty()
                                                                   : false;
    if (empty) {
      SetNull(fieldNo, record, true);
      return;
    }
  }
  const auto wide = [&]() -> WideString {
    if (const auto* w = std::get_if<WideString>(&value)) return *w;
    return text::ansiToWide(asText(value));
  };
  const auto ansi = [&]() -> AnsiString {
    if (const auto* w = std::get_if<WideString>(&value)) return text::wideToAnsi(*w);
    return asText(value);
  };
  switch (field.DataType) {
    case dcString:
    case dcGuid: {
      const AnsiString s = ansi();
      const std::size_t n = std::min(s.size(), static_cast<std::size_t>(std::max(field.Size - 1, 0)));
      std::memcpy(at, s.data(), n);
      at[n] = std::byte{0};
      break;
    }
    case dcHeapString: {
      const AnsiString s = ansi();
      heap_.Free(handleAt(record, field));
      setHandle(record, field, heap_.AllocStr(s.c_str(), false, static_cast<int>(s.size())));
      break;
    }
    case dcWideString: {
      const WideString s = wide();
      const std::size_t n = std::min(s.size(), static_cast<std::size_t>(std::max(field.Size / 2 - 1, 0)));
      std::memcpy(at, s.data(), n * 2);
      store<char16_t>(at + 2 * n, 0);
      break;
    }
    case dcHeapWideString: {
      const WideString s = wide();
      heap_.Free(handleAt(record, field));
      setHandle(record, field, heap_.AllocWideStr(s.c_str(), false, static_cast<int>(s.size())));
      break;
    }
    case dcInt8: store<std::int8_t>(at, static_cast<std::int8_t>(asInteger(value))); break;
    case dcSmallint: store<std::int16_t>(at, static_cast<std::int16_t>(asInteger(value))); break;
    case dcWord: store<std::uint16_t>(at, static_cast<std::uint16_t>(asInteger(value))); break;
    case dcInteger: store<std::int32_t>(at, static_cast<std::int32_t>(asInteger(value))); break;
    case dcUInt32: store<std::uint32_t>(at, static_cast<std::uint32_t>(asInteger(value))); break;
    case dcLargeint: store<std::int64_t>(at, asInteger(value)); break;
    case dcBoolean: store<std::int16_t>(at, asInteger(value) != 0 ? -1 : 0); break;
    case dcFloat: {
      double d = asDouble(value);
      if (field.Scale > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(field.Scale), d);
        d = std::strtod(text, nullptr);
      }
      store<double>(at, d);
      break;
    }
    case dcCurrency: store<double>(at, asDouble(value)); break;
    case dcBCD: store<std::int64_t>(at, std::llround(asDouble(value) * 10000.0)); break;
    case dcDate: store<double>(at, static_cast<double>(asInteger(value)) - kDateDelta); break;
    case dcTime: store<double>(at, static_cast<double>(asInteger(value)) / kMsPerDay); break;
    case dcDateTime: {
      const double ms = asDouble(value);
      const double days = std::floor(ms / kMsPerDay);
      store<double>(at, days - kDateDelta + (ms - days * kMsPerDay) / kMsPerDay);
      break;
    }
    case dcVarBytes:
    case dcHeapVarBytes:
    case dcBytes:
    case dcBlob: {
      std::vector<std::uint8_t> bytes;
      if (const auto* b = std::get_if<std::vector<std::uint8_t>>(&value)) bytes = *b;
      else {
        const AnsiString s = ansi();
        bytes.assign(s.begin(), s.end());
      }
      if (field.DataType == dcBlob) {
        TBlob& blob = GetBlob(fieldNo, record);
        blob.Clear();
        blob.Write(0, bytes.size(), bytes.data());
      } else if (field.DataType == dcBytes) {
        std::memset(at, 0, static_cast<std::size_t>(field.Size));
        std::memcpy(at, bytes.data(), std::min(bytes.size(), static_cast<std::size_t>(field.Size)));
      } else {
        const std::size_t capacity = field.DataType == dcVarBytes ? static_cast<std::size_t>(field.Size) - 2 : 0xFFFF;
        const auto n = static_cast<std::uint16_t>(std::min(bytes.size(), capacity));
        std::byte* target = at;
        if (field.DataType == dcHeapVarBytes) {
          heap_.Free(handleAt(record, field));
          const TStrHandle handle = heap_.Alloc(n + 2u);
          setHandle(record, field, handle);
          target = reinterpret_cast<std::byte*>(heap_.Ptr(handle));
        }
        store<std::uint16_t>(target, n);
        std::memcpy(target + 2, bytes.data(), n);
      }
      break;
    }
    case dcMemo: GetBlob(fieldNo, record).SetAsString(ansi()); break;
    case dcWideMemo: GetBlob(fieldNo, record).SetAsWideString(wide()); break;
    default: throw Exception("Cannot convert type");
  }
  record[dataSize_ + fieldNo - 1] = std::byte{0};
}
