#include "data/access/MemDS.h"

#include <cstring>

#include "data/access/BlobStream.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

// What follows the record and its calculated area in each of the data set's buffers.
struct TMemDataSet::RecordInfo {
  std::int32_t RecordNumber;
  std::uint8_t UpdateStatus;
  std::uint8_t BookmarkFlag;
  std::uint8_t OwnsComplexFields;  // a forward-only record keeps its own copies
  TRecBookmark Bookmark;
};

TMemDataSet::TMemDataSet(TComponent* owner) : TDataSet(owner) {}

TMemDataSet::~TMemDataSet() { Close(); }

void TMemDataSet::SetData(std::unique_ptr<TCRRecordSet> data) {
  data_ = std::move(data);
  if (data_ && !indexFieldNames_.empty()) data_->SetIndexFieldNames(indexFieldNames_);
}

std::size_t TMemDataSet::bufferSize() const {
  const std::size_t records = static_cast<std::size_t>(data_->RecordSize() + data_->CalcRecordSize());
  return (records + alignof(RecordInfo) - 1) / alignof(RecordInfo) * alignof(RecordInfo) + sizeof(RecordInfo);
}

TMemDataSet::RecordInfo& TMemDataSet::info(TRecordBuffer buffer) const {
  return *reinterpret_cast<RecordInfo*>(buffer + bufferSize() - sizeof(RecordInfo));
}

TRecordBuffer TMemDataSet::AllocRecordBuffer() {
  auto* buffer = new std::byte[bufferSize()]();
  new (&info(buffer)) RecordInfo{};
  return buffer;
}

void TMemDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  if (!buffer) return;
  if (info(buffer).OwnsComplexFields) data_->FreeComplexFields(buffer);
  delete[] buffer;
  buffer = nullptr;
}

TGetResult TMemDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool) {
  RecordInfo& record = info(buffer);
  if (record.OwnsComplexFields) {
    data_->FreeComplexFields(buffer);
    record.OwnsComplexFields = 0;
  }
  bool found = false;
  switch (mode) {
    case gmNext: found = data_->GetNextRecord(buffer); break;
    case gmPrior: found = data_->GetPriorRecord(buffer); break;
    case gmCurrent: found = data_->GetRecord(buffer); break;
  }
  if (!found) {
    if (mode == gmPrior || (mode == gmCurrent && data_->Bof())) return grBOF;
    if (mode == gmNext || data_->Eof()) return grEOF;
    return grError;
  }
  // A forward-only result reuses its block: the buffer must not depend on it.
  if (data_->UniDirectional()) {
    data_->OwnComplexFields(buffer);
    record.OwnsComplexFields = 1;
  }
  record.RecordNumber = data_->RecordNo();
  record.UpdateStatus = 0;
  record.BookmarkFlag = 0;
  record.Bookmark = data_->GetBookmark();
  return grOK;
}

void TMemDataSet::InternalOpen() {
  data_->Open();
  InternalInitFieldDefs();
  // Made here rather than by the base afterwards, so that the rest of a derived open can mark
  // them.
  if (DefaultFields() && Fields().Count() == 0) CreateFields();
  BindFields();
}

void TMemDataSet::InternalClose() {
  if (data_) data_->Close();
}

bool TMemDataSet::IsCursorOpen() const { return data_ && data_->Active(); }

void TMemDataSet::InternalInitFieldDefs() {
  std::vector<AnsiString> names;
  for (int i = 1; i <= data_->FieldCount(); ++i) names.push_back(data_->Field(i).Name);
  if (fieldDefsUpToDate_ && names == builtFrom_) return;
  FieldDefs().Clear();
  descOfField_.assign(1, 0);
  for (int i = 1; i <= data_->FieldCount(); ++i) {
    const TFieldDesc& desc = data_->Field(i);
    if (desc.FieldDescKind != TFieldDescKind::fdkData || desc.HiddenObject || desc.ParentField) continue;
    const TFieldType type = TDataTypesMap::GetFieldType(desc.DataType);
    if (type == ftUnknown) throw Exception("Data type is not supported");
    TFieldDef& def = *FieldDefs().Add(desc.Name, type);
    const bool textual = type == ftString || type == ftWideString || type == ftGuid;
    def.SetSize(textual ? std::max<int>(desc.Length, 1) : type == ftBytes || type == ftVarBytes ? desc.Length : 0);
    def.SetFieldNo(static_cast<int>(descOfField_.size()));
    def.SetRequired(desc.Required);
    TFieldAttributes attributes = 0;
    if (desc.ReadOnly) attributes |= faReadonly;
    if (desc.Hidden) attributes |= faHiddenCol;
    if (desc.Fixed) attributes |= faFixed;
    def.SetAttributes(attributes);
    if (type == ftSmallint || type == ftInteger || type == ftFloat || type == ftLargeint) def.SetPrecision(desc.Length);
    if (type == ftBCD || type == ftFMTBcd) {
      def.SetPrecision(desc.Length);
      def.SetSize(desc.Scale);
    }
    descOfField_.push_back(i);
  }
  builtFrom_ = std::move(names);
  fieldDefsUpToDate_ = true;
}

void TMemDataSet::InternalFirst() { data_->SetToBegin(); }
void TMemDataSet::InternalLast() { data_->SetToEnd(); }
void TMemDataSet::InternalSetToRecord(TRecordBuffer buffer) { data_->SetToBookmark(info(buffer).Bookmark); }

void TMemDataSet::GetBookmarkData(TRecordBuffer buffer, TBookmark& bookmark) {
  bookmark.resize(sizeof(TRecBookmark));
  std::memcpy(bookmark.data(), &info(buffer).Bookmark, sizeof(TRecBookmark));
}

namespace {
bool readBookmark(const TBookmark& bytes, TRecBookmark& bookmark) {
  if (bytes.size() != sizeof(TRecBookmark)) return false;
  std::memcpy(&bookmark, bytes.data(), sizeof bookmark);
  return true;
}
}  // namespace

void TMemDataSet::InternalGotoBookmark(const TBookmark& bytes) {
  TRecBookmark bookmark;
  if (readBookmark(bytes, bookmark) && !data_->SetToBookmark(bookmark)) throw EDatabaseError("Record not found");
}

bool TMemDataSet::BookmarkValid(const TBookmark& bytes) {
  TRecBookmark bookmark;
  return Active() && readBookmark(bytes, bookmark) && data_->BookmarkValid(bookmark);
}

int TMemDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  TRecBookmark x, y;
  const bool hasA = readBookmark(a, x), hasB = readBookmark(b, y);
  return data_->CompareBookmarks(hasA ? &x : nullptr, hasB ? &y : nullptr);
}

bool TMemDataSet::GetFieldData(const TField& field, TRecordBuffer buffer, TFieldValue& value) {
  const int fieldNo = field.FieldNo();
  if (fieldNo <= 0 || fieldNo >= static_cast<int>(descOfField_.size()) || !buffer) {
    value = {};
    return false;
  }
  value = data_->GetValue(descOfField_[static_cast<std::size_t>(fieldNo)], buffer);
  return !std::holds_alternative<std::monostate>(value);
}

bool TMemDataSet::GetFieldText(const TField& field, TRecordBuffer buffer, AnsiString& text) {
  const int fieldNo = field.FieldNo();
  if (fieldNo <= 0 || fieldNo >= static_cast<int>(descOfField_.size())) return false;
  return data_->GetText(descOfField_[static_cast<std::size_t>(fieldNo)], buffer, text);
}

std::unique_ptr<TStream> TMemDataSet::CreateBlobStream(TField& field, TBlobStreamMode mode) {
  if (mode != bmRead) {
    if (field.ReadOnly()) throw EDatabaseError("Field '" + field.DisplayName() + "' cannot be modified");
    if (State() != dsEdit && State() != dsInsert) throw EDatabaseError("Dataset not in edit or insert mode");
  }
  if (field.DataSet() != this) throw EDatabaseError("Field '" + field.FieldName() + "' not found");
  const TRecordBuffer buffer = ActiveBuffer();
  if (!buffer) return std::make_unique<TBlobStream>(nullptr);
  const int fieldNo = field.FieldNo();
  if (fieldNo <= 0 || fieldNo >= static_cast<int>(descOfField_.size())) throw Exception("Field is not BLOB");
  // The stream only reads, so a buffer filled by a read keeps sharing its record's blob.
  const TData& data = *data_;
  const std::byte* record = buffer;
  return std::make_unique<TBlobStream>(&data.GetBlob(descOfField_[static_cast<std::size_t>(fieldNo)], record));
}

int TMemDataSet::GetRecordCount() { return data_ && data_->Active() ? data_->RecordCount() : 0; }

int TMemDataSet::GetRecNo() {
  const TRecordBuffer buffer = ActiveBuffer();
  return buffer ? info(buffer).RecordNumber : 0;
}

void TMemDataSet::SetRecNo(int recNo) {
  CheckActive();
  if (recNo == GetRecNo()) return;
  data_->SetRecordNo(recNo);
  if (data_->RecordNo() != recNo) return;
  DoBeforeScroll();
  CursorPosChanged();
  Resync(rmCenter);
  DoAfterScroll();
}

void TMemDataSet::SetIndexFieldNames(const AnsiString& names) {
  if (data_) data_->SetIndexFieldNames(names);
  indexFieldNames_ = names;
  if (Active()) {
    CursorPosChanged();
    Resync();
  }
}

std::vector<TFieldDesc*> TMemDataSet::keyFields(const AnsiString& names) const {
  std::vector<TFieldDesc*> keys;
  std::size_t start = 0;
  while (start <= names.size()) {
    const auto end = names.find(';', start);
    const AnsiString name(text::trimmed(std::string_view(names).substr(start, end - start)));
    if (!name.empty()) keys.push_back(&data_->FieldByName(name));
    if (end == AnsiString::npos) break;
    start = end + 1;
  }
  return keys;
}

bool TMemDataSet::walkTo(const std::vector<TFieldDesc*>& keys, const std::vector<TFieldValue>& values,
                         unsigned options, TRecBookmark& found) {
  if (keys.size() != values.size()) throw Exception("Locate needs one value per key field");
  const unsigned flags = (options & loCaseInsensitive ? cfCaseInsensitive : 0u) | (options & loPartialKey ? cfPartialKey : 0u);
  const TRecBookmark start = data_->GetBookmark();
  TRecordBytes row = data_->AllocRecBuf();
  data_->SetToBegin();
  bool match = false;
  while (!match && data_->GetNextRecord(row.data())) {
    match = true;
    for (std::size_t i = 0; i < keys.size() && match; ++i)
      match = data_->CompareFieldValues(data_->GetValue(keys[i]->FieldNo, row.data()), values[i], flags) == 0;
  }
  if (match) found = data_->GetBookmark();
  data_->SetToBookmark(start);
  return match;
}

bool TMemDataSet::Locate(const AnsiString& keyFields_, const std::vector<TFieldValue>& values, unsigned options) {
  CheckActive();
  CheckBrowseMode();
  TRecBookmark found;
  if (!walkTo(keyFields(keyFields_), values, options, found)) return false;
  DoBeforeScroll();
  data_->SetToBookmark(found);
  CursorPosChanged();
  Resync(rmExact | rmCenter);
  DoAfterScroll();
  return true;
}

TFieldValue TMemDataSet::Lookup(const AnsiString& keyFields_, const std::vector<TFieldValue>& values,
                                const AnsiString& resultField) {
  CheckActive();
  TRecBookmark found;
  if (!walkTo(keyFields(keyFields_), values, 0, found)) return {};
  const TRecBookmark here = data_->GetBookmark();
  TRecordBytes row = data_->AllocRecBuf();
  data_->SetToBookmark(found);
  data_->GetRecord(row.data());
  TFieldValue value = data_->GetValue(data_->FieldByName(resultField).FieldNo, row.data());
  data_->SetToBookmark(here);
  return value;
}
