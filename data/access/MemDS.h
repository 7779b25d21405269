#pragma once
// The data set over a record buffer: field definitions from the descriptors, the framework's
// record buffers filled from the record list, navigation, numbers, bookmarks, search.

#include <memory>
#include <vector>

#include "data/records/MemData.h"
#include "platform/db/DataSet.h"

enum TLocateOption : unsigned { loCaseInsensitive = 1, loPartialKey = 2 };

class TMemDataSet : public TDataSet {
 public:
  explicit TMemDataSet(TComponent* owner);
  ~TMemDataSet() override;
  const char* ClassName() const override { return "TMemDataSet"; }

  // The records; null before the first open.
  TCRRecordSet* Data() const { return data_.get(); }

  const AnsiString& IndexFieldNames() const { return indexFieldNames_; }
  void SetIndexFieldNames(const AnsiString& names);

  // Moves to the first record whose key fields (";"-separated) equal `values`; false and no
  // move when there is none.
  bool Locate(const AnsiString& keyFields, const std::vector<TFieldValue>& values, unsigned options = 0);
  // The result field's value of that record, without moving; null when there is none.
  TFieldValue Lookup(const AnsiString& keyFields, const std::vector<TFieldValue>& values,
                     const AnsiString& resultField);

  // A read stream over the blob of `field` in the active record (empty without one); writing
  // modes raise "Field '<name>' cannot be modified" for a read-only field and "Dataset not in
  // edit or insert mode" otherwise, since these records are never edited.
  std::unique_ptr<TStream> CreateBlobStream(TField& field, TBlobStreamMode mode) override;

  bool BookmarkValid(const TBookmark& bookmark) override;
  int CompareBookmarks(const TBookmark& a, const TBookmark& b) override;
  void SetRecNo(int recNo) override;
  bool IsSequenced() override { return true; }

 protected:
  // The record set a derived class hands over before the first open.
  void SetData(std::unique_ptr<TCRRecordSet> data);

  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override;
  TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) override;
  void InternalOpen() override;
  void InternalClose() override;
  bool IsCursorOpen() const override;
  void InternalInitFieldDefs() override;
  void InternalFirst() override;
  void InternalLast() override;
  void InternalSetToRecord(TRecordBuffer buffer) override;
  void InternalGotoBookmark(const TBookmark& bookmark) override;
  void GetBookmarkData(TRecordBuffer buffer, TBookmark& bookmark) override;
  bool GetFieldData(const TField& field, TRecordBuffer buffer, TFieldValue& value) override;
  bool GetFieldText(const TField& field, TRecordBuffer buffer, AnsiString& text) override;
  int GetRecordCount() override;
  int GetRecNo() override;
  bool GetCanModify() override { return false; }

  // Field definitions are rebuilt only when the descriptors differ from the last build.
  void MarkFieldDefsOutOfDate() { fieldDefsUpToDate_ = false; }

 private:
  struct RecordInfo;
  RecordInfo& info(TRecordBuffer buffer) const;
  std::size_t bufferSize() const;
  bool walkTo(const std::vector<TFieldDesc*>& keys, const std::vector<TFieldValue>& values, unsigned options,
              TRecBookmark& found);
  std::vector<TFieldDesc*> keyFields(const AnsiString& names) const;

  std::unique_ptr<TCRRecordSet> data_;
  AnsiString indexFieldNames_;
  std::vector<int> descOfField_;  // field number → descriptor number
  std::vector<AnsiString> builtFrom_;
  bool fieldDefsUpToDate_ = false;
};
