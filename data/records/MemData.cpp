#include "data/records/MemData.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <new>

#include "data/records/Blob.h"
#include "data/records/ValueCodec.h"
#include "platform/classes/Exceptions.h"

namespace {

bool isHeapCode(std::uint16_t code) { return code == dcHeapString || code == dcHeapVarBytes || code == dcHeapWideString; }

bool isTextCode(std::uint16_t code) {
  return code == dcString || code == dcHeapString || code == dcWideString || code == dcHeapWideString;
}

bool isEmptyText(const TFieldValue& value) {
  if (const auto* s = std::get_if<AnsiString>(&value)) return s->empty();
  if (const auto* w = std::get_if<WideString>(&value)) return w->empty();
  return false;
}

template <class S>
S addCarriageReturns(const S& text) {
  S out;
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
  hasComplexFields_ = hasBlobFields_ = false;
}

void TData::InitFields() {
  if (AutoInitFields) fields_.MakeNamesUnique();
  int size = 0;
  hasComplexFields_ = hasBlobFields_ = false;
  for (int i = 0; i < fields_.Count(); ++i) {
    TFieldDesc& field = fields_[i];
    if (field.FieldDescKind == TFieldDescKind::fdkCalculated || field.ParentField) continue;
    hasComplexFields_ = hasComplexFields_ || field.IsComplex();
    hasBlobFields_ = hasBlobFields_ || field.IsBlob();
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
  return codec::load<std::uint32_t>(record + field.Offset);
}

void TData::setHandle(std::byte* record, const TFieldDesc& field, std::uint32_t handle) const {
  codec::store<std::uint32_t>(record + field.Offset, handle);
}

bool TData::GetNull(int fieldNo, const std::byte* record) const {
  const TFieldDesc& field = Field(fieldNo);
  const bool indicator = record[dataSize_ + fieldNo - 1] == std::byte{1};
  // A blob that holds data has a value, whatever its indicator says.
  if (indicator && field.IsBlob())
    if (const TBlob* blob = blobs_.Find(handleAt(record, field))) return blob->IsEmpty();
  return indicator;
}

void TData::setNull(int fieldNo, std::byte* record) {
  const TFieldDesc& field = Field(fieldNo);
  if (field.IsComplex()) ownIfBorrowed(record);
  record[dataSize_ + fieldNo - 1] = std::byte{1};
  if (field.IsBlob()) {
    if (TBlob* blob = blobs_.Find(handleAt(record, field))) blob->Clear();
  } else if (isHeapCode(field.DataType)) {
    heap_.Free(handleAt(record, field));
    setHandle(record, field, 0);
  }
}

const TBlob& TData::GetBlob(int fieldNo, const std::byte* record) const {
  const TFieldDesc& field = Field(fieldNo);
  if (!field.IsBlob()) throw Exception("Field is not BLOB");
  return blobs_.Get(handleAt(record, field));
}

TBlob& TData::GetBlob(int fieldNo, std::byte* record) {
  const TFieldDesc& field = Field(fieldNo);
  if (!field.IsBlob()) throw Exception("Field is not BLOB");
  ownIfBorrowed(record);
  return blobs_.Get(handleAt(record, field));
}

void TData::InitRecord(std::byte* record) {
  borrowers_.erase(record);
  InitStoredRecord(record);
}

void TData::InitStoredRecord(std::byte* record) {
  std::memset(record, 0, static_cast<std::size_t>(recordSize_));
  std::memset(record + dataSize_, 1, static_cast<std::size_t>(fields_.Count()));
  if (!hasBlobFields_) return;
  for (int i = 0; i < fields_.Count(); ++i) {
    const TFieldDesc& field = fields_[i];
    if (field.IsBlob() && field.FieldDescKind != TFieldDescKind::fdkCalculated && !field.ParentField)
      setHandle(record, field, blobs_.Create(field.DataType == dcWideMemo));
  }
}

void TData::FreeComplexFields(std::byte* record) {
  // A buffer that only shares a stored record's pieces gives nothing back.
  const bool borrowed = borrowers_.erase(record) > 0;
  freeComplexFields(record, !borrowed);
}

void TData::FreeStoredRecord(std::byte* record) { freeComplexFields(record, true); }

void TData::freeComplexFields(std::byte* record, bool release) {
  for (int i = 0; i < fields_.Count(); ++i) {
    const TFieldDesc& field = fields_[i];
    if (!field.IsComplex() || field.FieldDescKind == TFieldDescKind::fdkCalculated || field.ParentField) continue;
    const std::uint32_t handle = handleAt(record, field);
    if (handle == 0) continue;
    if (release) {
      if (field.IsBlob())
        blobs_.Remove(handle);
      else if (isHeapCode(field.DataType))
        heap_.Free(handle);
    }
    setHandle(record, field, 0);
  }
}

void TData::CopyRecord(const std::byte* source, std::byte* dest) {
  std::memcpy(dest, source, static_cast<std::size_t>(recordSize_));
  // Until it holds every piece, the copy only shares them.
  borrowers_.insert(dest);
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
  // Only a record that holds all its pieces counts as their owner.
  borrowers_.erase(record);
}

void TData::lendComplexFields(std::byte* record) {
  if (hasComplexFields_) borrowers_.insert(record);
}

void TData::ownIfBorrowed(std::byte* record) {
  if (!borrowers_.empty() && borrowers_.count(record)) OwnComplexFields(record);
}

template <class S>
void TData::finishText(const TFieldDesc& field, S& text) const {
  if (ConvertEOL) text = addCarriageReturns(text);
  if (field.Fixed ? TrimFixedChar : TrimVarChar) trimTrailingBlanks(text);
}

std::string_view TData::storedAnsiText(const TFieldDesc& field, const std::byte* record) const {
  if (field.DataType != dcHeapString)
    return codec::AnsiTextIn(record + field.Offset, static_cast<std::size_t>(std::max(field.Size, 0)));
  const std::string_view piece = heap_.Piece(handleAt(record, field));
  return codec::AnsiTextIn(reinterpret_cast<const std::byte*>(piece.data()), piece.size());
}

bool TData::GetText(int fieldNo, const std::byte* record, AnsiString& text) const {
  const TFieldDesc& field = Field(fieldNo);
  std::int64_t number = 0;
  const bool integer = codec::LoadInteger(field.DataType, record + field.Offset, number);
  if (!integer && field.DataType != dcString && field.DataType != dcGuid && field.DataType != dcHeapString) return false;
  if (GetNull(fieldNo, record)) {
    text.clear();
    return true;
  }
  if (integer) {
    char digits[24];
    text.assign(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
    return true;
  }
  text.assign(storedAnsiText(field, record));
  if (ConvertEOL || (field.Fixed ? TrimFixedChar : TrimVarChar)) finishText(field, text);
  return true;
}

TFieldValue TData::GetValue(int fieldNo, const std::byte* record) const {
  if (GetNull(fieldNo, record)) return {};
  const TFieldDesc& field = Field(fieldNo);
  const std::byte* at = record + field.Offset;
  const auto size = static_cast<std::size_t>(std::max(field.Size, 0));
  // A heap value's bytes and their size; none for a field without a piece.
  const auto piece = [&]() -> std::pair<const std::byte*, std::size_t> {
    const std::string_view bytes = heap_.Piece(handleAt(record, field));
    return {reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()};
  };
  const auto finish = [&](auto text) {
    finishText(field, text);
    return text;
  };
  switch (field.DataType) {
    case dcString:
    case dcGuid:
    case dcHeapString: return finish(AnsiString(storedAnsiText(field, record)));
    case dcWideString: return finish(codec::LoadWideText(at, size));
    case dcHeapWideString: {
      const auto [bytes, length] = piece();
      return finish(bytes ? codec::LoadWideText(bytes, length) : WideString());
    }
    case dcHeapVarBytes: {
      const auto [bytes, length] = piece();
      return bytes ? codec::LoadVarBytes(bytes, length) : std::vector<std::uint8_t>();
    }
    case dcMemo: return GetBlob(fieldNo, record).AsString();
    case dcWideMemo: return GetBlob(fieldNo, record).AsWideString();
    case dcBlob: {
      const TBlob& blob = GetBlob(fieldNo, record);
      std::vector<std::uint8_t> bytes(blob.Size());
      blob.Read(0, bytes.size(), bytes.data());
      return bytes;
    }
    default: return codec::LoadFixed(field.DataType, at, field.Size);
  }
}

TStrHandle TData::allocText(std::string_view text) {
  if (text.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
  return heap_.AllocStr(text.data(), false, static_cast<int>(text.size()));
}

TStrHandle TData::allocWideText(std::u16string_view text) {
  if (text.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) throw std::bad_alloc();
  return heap_.AllocWideStr(text.data(), false, static_cast<int>(text.size()));
}

void TData::replacePiece(std::byte* record, const TFieldDesc& field, TStrHandle piece) {
  // The new piece is in hand before the old one goes: a failed allocation leaves the field as it was.
  const TStrHandle old = handleAt(record, field);
  setHandle(record, field, piece);
  heap_.Free(old);
}

void TData::PutValue(int fieldNo, std::byte* record, const TFieldValue& value) {
  const TFieldDesc& field = Field(fieldNo);
  if (field.IsComplex()) ownIfBorrowed(record);
  if (std::holds_alternative<std::monostate>(value) || (SetEmptyStrToNull && isTextCode(field.DataType) && isEmptyText(value))) {
    SetNull(fieldNo, record, true);
    return;
  }
  std::byte* at = record + field.Offset;
  const auto size = static_cast<std::size_t>(std::max(field.Size, 0));
  switch (field.DataType) {
    case dcString:
    case dcGuid: codec::StoreAnsiText(at, size, codec::ToAnsi(value)); break;
    case dcWideString: codec::StoreWideText(at, size, codec::ToWide(value)); break;
    case dcHeapString: replacePiece(record, field, allocText(codec::ToAnsi(value))); break;
    case dcHeapWideString: replacePiece(record, field, allocWideText(codec::ToWide(value))); break;
    case dcHeapVarBytes: {
      const std::vector<std::uint8_t> bytes = codec::ToBytes(value);
      const std::size_t pieceSize = std::min<std::size_t>(bytes.size(), 0xFFFF) + 2;
      const TStrHandle handle = heap_.Alloc(pieceSize);
      codec::StoreVarBytes(reinterpret_cast<std::byte*>(heap_.Ptr(handle)), pieceSize, bytes.data(), bytes.size());
      replacePiece(record, field, handle);
      break;
    }
    case dcBlob:
    case dcMemo: GetBlob(fieldNo, record).SetAsString(codec::ToAnsi(value)); break;
    case dcWideMemo: GetBlob(fieldNo, record).SetAsWideString(codec::ToWide(value)); break;
    default: codec::StoreFixed(field.DataType, at, field.Size, field.Scale, value); break;
  }
  record[dataSize_ + fieldNo - 1] = std::byte{0};
}
