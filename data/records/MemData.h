#pragma once
// The record buffer: the rows of one open result as fixed-size records in blocks, with
// navigation, record numbers, bookmarks, local order and filter hooks.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <variant>
#include <vector>

#include "data/records/Blob.h"
#include "data/records/BlockManager.h"
#include "data/records/CRProps.h"
#include "data/records/FieldDesc.h"
#include "data/records/StringHeap.h"
#include "platform/db/FieldValue.h"

class TCRConnection;

// A record with room for its calculated area, as the record buffer hands it out.
using TRecordBytes = std::vector<std::byte>;

class TData {
 public:
  TData();
  virtual ~TData();
  TData(const TData&) = delete;
  TData& operator=(const TData&) = delete;

  void Open();
  void Close();
  void Reopen();
  bool Active() const { return active_; }

  // Field descriptors, numbered from 1.
  TFieldDescs& Fields() { return fields_; }
  const TFieldDescs& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TFieldDesc& Field(int fieldNo) const { return fields_[fieldNo - 1]; }
  TFieldDesc* FindField(const AnsiString& name) const { return fields_.FindField(name); }
  TFieldDesc& FieldByName(const AnsiString& name) const { return fields_.FieldByName(name); }
  virtual void ClearFields();
  // Makes the names unique (when AutoInitFields) and lays the record out.
  void InitFields();

  int DataSize() const { return dataSize_; }
  int RecordSize() const { return recordSize_; }
  int CalcRecordSize() const { return calcRecordSize_; }
  TRecordBytes AllocRecBuf() const;

  // Field access on a record (a stored one or a data set's buffer).
  bool GetNull(int fieldNo, const std::byte* record) const;
  // Setting a field not null only clears its indicator: a provider does it for every column
  // of every row it reads.
  void SetNull(int fieldNo, std::byte* record, bool isNull) {
    if (isNull)
      setNull(fieldNo, record);
    else
      record[dataSize_ + fieldNo - 1] = std::byte{0};
  }
  TFieldValue GetValue(int fieldNo, const std::byte* record) const;
  // The text of a field of an 8-bit text code (dcString, dcGuid, dcHeapString) or an integer
  // code straight from the record: the text GetValue holds, or the decimal digits of its
  // number, or the empty text for null, without building the value. False, and `text`
  // untouched, for a field of any other code.
  bool GetText(int fieldNo, const std::byte* record, AnsiString& text) const;
  void PutValue(int fieldNo, std::byte* record, const TFieldValue& value);
  // The blob of a blob field, to read; raises "Field is not BLOB" for other fields.
  const TBlob& GetBlob(int fieldNo, const std::byte* record) const;
  // The same, to write: a buffer that a read filled first takes copies of its own, as it does
  // before any other value of it changes, so the write never reaches the stored record.
  TBlob& GetBlob(int fieldNo, std::byte* record);

  // A fresh record: every field null, every blob field with an empty blob of its own.
  void InitRecord(std::byte* record);
  // Gives back what the record owns: heap pieces and blobs. A buffer that a read filled and
  // nothing changed since owns nothing.
  void FreeComplexFields(std::byte* record);
  // The same two for a record of the list itself, which is never a borrowing buffer: no
  // look-up of the borrowers on the per-row path of fetching and closing.
  void InitStoredRecord(std::byte* record);
  void FreeStoredRecord(std::byte* record);
  // Makes `dest` an independent copy of `source`, heap pieces and blobs included.
  void CopyRecord(const std::byte* source, std::byte* dest);
  // Makes the record the holder of its own heap pieces and blob copies, so that it outlives
  // the stored record it was copied from. A buffer filled by a read becomes the holder by
  // itself the first time one of its heap or blob fields is written or set null.
  void OwnComplexFields(std::byte* record);

  TStringHeap& StringHeap() { return heap_; }
  int BlobCount() const { return static_cast<int>(blobs_.Count()); }

  bool AutoInitFields = true;
  bool ConvertEOL = false;
  bool SetEmptyStrToNull = false;
  bool TrimFixedChar = true;
  bool TrimVarChar = false;

 protected:
  virtual std::unique_ptr<TFieldDesc> CreateFieldDesc() const { return std::make_unique<TFieldDesc>(); }
  // The steps of open and close a derived class takes part in.
  virtual void InternalPrepare() {}
  virtual void InternalOpen() {}
  virtual void InternalClose();
  virtual void CreateFieldDescs() {}
  virtual void LayoutChanged() {}

 private:
  // Marks the field null and gives back its heap piece or empties its blob.
  void setNull(int fieldNo, std::byte* record);
  std::uint32_t handleAt(const std::byte* record, const TFieldDesc& field) const;
  void setHandle(std::byte* record, const TFieldDesc& field, std::uint32_t handle) const;
  // Line ends and trailing blanks of a text read from a field, as the options ask.
  template <class S>
  void finishText(const TFieldDesc& field, S& text) const;
  // The bytes of an 8-bit text field as its slot or heap piece keeps them, up to the first zero.
  std::string_view storedAnsiText(const TFieldDesc& field, const std::byte* record) const;
  TStrHandle allocText(std::string_view text);
  TStrHandle allocWideText(std::u16string_view text);
  // Puts `piece` into the field and releases the field's previous piece.
  void replacePiece(std::byte* record, const TFieldDesc& field, TStrHandle piece);
  void freeComplexFields(std::byte* record, bool release);
  // A read filled `record` with a stored record's bytes: it shares the pieces without holding them.
  void lendComplexFields(std::byte* record);
  // Before a borrowed record's piece changes, the record takes holds of its own.
  void ownIfBorrowed(std::byte* record);

  TFieldDescs fields_;
  int dataSize_ = 0;
  int recordSize_ = 0;
  int calcRecordSize_ = 0;
  bool active_ = false;
  bool hasComplexFields_ = false;
  bool hasBlobFields_ = false;
  TStringHeap heap_;
  TBlobTable blobs_;
  // Buffers a read filled that share a stored record's heap pieces and blobs without holding
  // them. Forgotten when the list is cleared, as their handles then name nothing.
  std::unordered_set<const std::byte*> borrowers_;

  friend class TMemData;
};

struct TRecBookmark {
  int RefreshIteration = 0;
  TItemHeader* Item = nullptr;
  int Order = -1;      // the record number when taken; -1 without a current record
  int Deletions = 0;   // records deleted from the list before it was taken
  // The times the list was emptied before it was taken: a forward-only result refills its
  // items with the next rows, so an item of an older list may hold another record now.
  unsigned ListResets = 0;
};

enum TCompareFlags : unsigned { cfCaseInsensitive = 1, cfPartialKey = 2, cfPartialCompare = 4, cfBinary = 8 };

struct TSortColumn {
  TFieldDesc* Field;
  bool Descending;
  unsigned CompareFlags;
};

class TMemData : public TData {
 public:
  TMemData();
  ~TMemData() override;

  // Navigation. The record, when a buffer is given, is copied into it.
  void SetToBegin();
  void SetToEnd();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  bool GetNextRecord(std::byte* record = nullptr);
  bool GetPriorRecord(std::byte* record = nullptr);
  bool GetRecord(std::byte* record);
  TItemHeader* CurrentItem() const { return current_; }
  TItemHeader* FirstItem() const { return first_; }
  TItemHeader* LastItem() const { return last_; }

  // Changes; the record becomes the current one.
  void AppendRecord(const std::byte* record);
  void InsertRecord(const std::byte* record);
  void UpdateRecord(const std::byte* record);
  void DeleteRecord();

  int RecordCount() const { return recordCount_; }
  // Blocks of items allocated now.
  int BlockCount() const { return blocks_.BlockCount(); }
  int RecordNo() const;
  void SetRecordNo(int recNo);

  TRecBookmark GetBookmark() const;
  // False, and the position unchanged, when the bookmark's record is no longer in the list.
  bool SetToBookmark(const TRecBookmark& bookmark);
  bool BookmarkValid(const TRecBookmark& bookmark) const;
  int CompareBookmarks(const TRecBookmark* a, const TRecBookmark* b) const;

  // "tm DESC CIS;zz": the local order; empty keeps the fetched order. While closed only the
  // form is checked; every open looks the names up and sorts all rows.
  void SetIndexFieldNames(const AnsiString& names);
  const std::vector<TSortColumn>& SortColumns() const { return sortColumns_; }
  // −1, 0 or 1; `dataType` is the code of the field the values come from, where it matters
  // (FMTBCD records compare as the numbers they hold).
  int CompareFieldValues(const TFieldValue& a, const TFieldValue& b, unsigned flags,
                         std::uint16_t dataType = dcUnknown) const;

  // Local filtering: a record is shown when both hooks accept it.
  std::function<bool(const std::byte* record)> FilterFunc;
  std::function<bool(const std::byte* record)> FilterItemFunc;
  // Fills the calculated area of a buffer.
  std::function<void(std::byte* buffer)> OnCalcFields;
  // Evaluates the filter anew for every record and renumbers.
  void FilterUpdated();

  void ClearFields() override;

 protected:
  // Reads one more block of the result; false when it added nothing.
  virtual bool FetchNextBlock() { return false; }
  // Reads everything that is left.
  virtual void FetchAllBlocks() {
    while (FetchNextBlock()) {
    }
  }
  virtual bool UniDirectional() const { return false; }
  bool Filtered() const { return FilterFunc || FilterItemFunc; }
  // Appends the filled items to the list, numbers them and counts them.
  void LinkItems(const std::vector<TItemHeader*>& items);
  // Frees every record and block; the list starts afresh.
  void ClearItems();
  // Empties the list without freeing anything: a forward-only result reuses its block.
  void forgetItems();
  void InternalClose() override;
  void LayoutChanged() override;
  // Looks the index field names up among the fields and sorts the list by them.
  void ApplyLocalOrder();

  TBlockManager blocks_;

 private:
  bool omitted(TItemHeader* item);
  // The item after `item` (the first one for none), fetching when the list ends there; null
  // at the end of the result.
  TItemHeader* nextFetching(TItemHeader* item);
  void copyOut(TItemHeader* item, std::byte* record);
  // A new unlinked item holding its own copy of `record`.
  TItemHeader* newItemFrom(const std::byte* record);
  void renumber();
  bool itemAlive(const TRecBookmark& bookmark) const;
  void linkBefore(TItemHeader* item, TItemHeader* before);
  void unlink(TItemHeader* item);
  std::vector<TSortColumn> sortColumnsOf(const AnsiString& names) const;
  void sortItems();
  void keepInOrder(TItemHeader* item);
  int compareItems(TItemHeader* a, TItemHeader* b);

  TItemHeader* first_ = nullptr;
  TItemHeader* last_ = nullptr;
  TItemHeader* current_ = nullptr;
  bool bof_ = true;
  bool eof_ = true;
  int recordCount_ = 0;
  int recNoOffset_ = 0;
  int deletions_ = 0;
  int lastOrder_ = 0;  // the number of the last numbered record
  unsigned listResets_ = 0;  // counts the times the list was emptied
  int refreshIteration_;
  std::vector<TSortColumn> sortColumns_;
  AnsiString indexFieldNames_;
  TRecordBytes scratchA_, scratchB_;
};

// Record-set property numbers besides FetchAll (22) and ExtendedFieldsInfo (51).
enum TRecordSetProp : int {
  prUniDirectional = 20,
  prFetchRows = 21,
  prLongStrings = 25,
  prFlatBuffers = 27,
  prIndexFieldNames = 29,
  prCompressBlobMode = 30,
  prLockFetchAll = 47,
};

// A block counts its records in 16 bits.
inline constexpr int kMaxFetchRows = 65535;
// Raises "FetchRows must be 1..65535" for a count of records per block outside that range.
void CheckFetchRows(int rows);

// A result read from a provider in blocks of FetchRows records, on demand.
class TCRRecordSet : public TMemData, public TCRPropsObject {
 public:
  // False for a property the record set does not have.
  bool SetProp(int prop, const TPropValue& value) override;
  bool GetProp(int prop, TPropValue& value) const override;

  // The provider connection the statement runs on.
  virtual void SetConnection(TCRConnection* connection) = 0;
  virtual void SetSQL(const AnsiString& sql) = 0;
  // Runs a statement that returns no rows; true (and nothing run) when it returns rows.
  virtual bool ExecuteNoRows() = 0;
  virtual const std::vector<std::unique_ptr<TCRTableInfo>>& TablesInfo() const = 0;

  int FetchRows() const { return fetchRows_; }
  bool FetchAll() const { return fetchAll_; }
  bool UniDirectional() const override { return uniDirectional_; }
  bool LongStrings() const { return longStrings_; }
  bool FlatBuffers() const { return flatBuffers_; }
  bool ExtendedFieldsInfo() const { return extendedFieldsInfo_; }
  // The provider has no more rows.
  bool FetchedAll() const { return fetchedAll_; }

  // The values of the statement's parameters, in the order the statement names them.
  std::vector<TParamDesc> Params;

  // Reads the next block now; false when the result has no more rows.
  bool Fetch() { return FetchNextBlock(); }
  void FetchToEnd() { FetchAllBlocks(); }

 protected:
  std::unique_ptr<TFieldDesc> CreateFieldDesc() const override { return std::make_unique<TCRFieldDesc>(); }
  void InternalOpen() override;
  void InternalClose() override;
  bool FetchNextBlock() override;

  // The provider's part: run the statement, and read one row into a fresh record.
  virtual void ExecuteCommand() = 0;
  virtual bool ReadRow(std::byte* record) = 0;
  // Whether the fields must be described again at this open.
  virtual bool NeedsDescribe() const { return FieldCount() == 0; }
  // Called when the result is done or the record set closes.
  virtual void ReleaseCursor() {}
  // The provider knows, after a block, that no row is left (its last step said so).
  virtual bool NoMoreRows() const { return false; }

 private:
  // Forward only: gives the records read so far back and returns a block of theirs that holds
  // FetchRows records, with all its items taken for the next rows; null when none qualifies.
  TBlockHeader* takeBackBlock();

  int fetchRows_ = 25;
  bool fetchAll_ = false;
  bool uniDirectional_ = false;
  bool longStrings_ = true;
  bool flatBuffers_ = true;
  bool lockFetchAll_ = false;
  bool extendedFieldsInfo_ = true;
  int compressBlobMode_ = 0;
  bool fetchedAll_ = true;
};
