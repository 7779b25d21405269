#pragma once
// The data-set base: state, navigation over a ring of record buffers, fields, and the
// events that keep data-aware controls in step.
//
// A derived data set owns a cursor over its records and fills the buffers the base hands it.
// The base keeps BufferCount() buffers (the most any data link on it asks for, at least one)
// holding consecutive records, plus one spare, and the index of the active record among
// them. Moving inside the buffered records reads nothing; moving past either end reads one
// record into the spare and turns the ring by one, so a grid that shows BufferCount() rows
// scrolls by one row.
//
// The cursor protocol. GetRecord() reads relative to the cursor and leaves the cursor on the
// record it read: gmNext the record after it, gmPrior the one before, gmCurrent the one it is
// on. InternalFirst() puts the cursor before the first record, InternalLast() after the last
// one, so that gmNext then gives the first record and gmPrior the last. Past an end GetRecord
// answers grEOF or grBOF and the cursor stays off the records. InternalSetToRecord() puts the
// cursor on the record a buffer holds and InternalGotoBookmark() on a bookmarked one. The
// base tracks which buffer the cursor is on and calls InternalSetToRecord() before it reads
// next to the last buffer or prior to the first, so a derived class that moves its cursor
// for reasons of its own calls CursorPosChanged().
//
// Opening: BeforeOpen; InternalOpen() (the cursor opens; field definitions that are out of
// date are described through InternalInitFieldDefs()); the base then makes the default
// fields when there are no declared ones and the derived class has not made them, binds the
// fields to the definitions, allocates the buffers, calls InternalFirst() and reads forward;
// links hear ActiveChanged then DataSetChanged; AfterOpen; AfterScroll.
// Closing: BeforeClose; the data set becomes inactive and links hear ActiveChanged then
// DataSetChanged; the buffers are freed; InternalClose(); the default fields are destroyed;
// AfterClose.
//
// Calculated fields are computed by the base right after each record is read into a buffer
// (when AutoCalcFields is on and there are calculated fields): GetRecord() leaves them alone.
//
// A derived class's destructor calls Close(): the base cannot reach the derived class's
// InternalClose() and FreeRecordBuffer() from its own destructor.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Stream.h"
#include "platform/db/Field.h"
#include "platform/db/FieldDefs.h"

class TDataLink;
class TDataSource;

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening,
};

enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };
enum TGetResult { grOK, grBOF, grEOF, grError };

// What a data set tells its data sources and links. The info argument of DataEvent():
// deFieldChange the TField*, deFocusControl a TField** the receiver may clear to take the
// request, deDataSetScroll how many places the buffered records moved towards the end of the
// ring (negative: towards the start); 0 for the others.
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  deFocusControl,
};

enum TResyncModeFlag : unsigned {
  rmExact = 1u << 0,   // the cursor's record must still exist
  rmCenter = 1u << 1,  // put it in the middle of the buffers
};
using TResyncMode = unsigned;  // TResyncModeFlag flags

using TRecordBuffer = std::byte*;  // allocated and freed by the derived class
using TBookmark = std::vector<std::byte>;

using TDataSetNotifyEvent = std::function<void(TDataSet& dataSet)>;
using TFilterRecordEvent = std::function<void(TDataSet& dataSet, bool& accept)>;

class TDataSet : public TComponent {
public:
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  const char* ClassName() const override { return "TDataSet"; }

  // Each optional. A Before handler that throws stops the operation.
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeScroll, AfterScroll;
  // Sets the calculated fields of the record being read; fields read that record meanwhile.
  TDataSetNotifyEvent OnCalcFields;
  // For derived classes that filter: see FilterRecord().
  TFilterRecordEvent OnFilterRecord;

  // State and lifetime. Opening while the owner loads is put off until Loaded().
  bool Active() const { return state_ != dsInactive && state_ != dsOpening; }
  void SetActive(bool active);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  bool AutoCalcFields() const { return autoCalcFields_; }
  void SetAutoCalcFields(bool on) { autoCalcFields_ = on; }

  // Navigation; each raises EDatabaseError on a closed data set. Bof() is true after a move
  // that tried to go before the first record (and after First()), Eof() after one that tried
  // to go past the last (and after Last()); both are true on an empty or closed data set.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to `distance` records; returns how many it moved (negative backwards).
  int MoveBy(int distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // -1 when the data set cannot tell.
  int RecordCount() { return GetRecordCount(); }
  int RecNo() { return GetRecNo(); }
  // The base moves record by record; a data set with direct access does better.
  virtual void SetRecNo(int recNo);
  // Empty while closed or empty.
  TBookmark GetBookmark();
  // Makes the bookmarked record current, in the middle of the buffers. Ignores an empty
  // bookmark; raises EDatabaseError when the record no longer exists.
  void GotoBookmark(const TBookmark& bookmark);
  virtual bool BookmarkValid(const TBookmark& bookmark);
  // < 0, 0 or > 0; the base orders only by presence (an empty bookmark last).
  virtual int CompareBookmarks(const TBookmark& a, const TBookmark& b);

  // Links hear nothing from the data set until the last EnableControls(), which then sends
  // one DataSetChanged. State changes (open, close) still reach them.
  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // Re-reads the records through InternalRefresh(), keeping the active record's row.
  void Refresh();
  // Refills the buffers around the record the cursor is on and tells the links. Without
  // rmExact a vanished record is replaced by its successor, else its predecessor.
  void Resync(TResyncMode mode = 0);
  // Raises EDatabaseError on an empty data set or one that cannot be modified.
  void Delete();

  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  TFieldDefs& FieldDefs() { return fieldDefs_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(const AnsiString& name) const { return fields_.FindField(name); }
  // Raises EDatabaseError "Field 'name' not found".
  TField& FieldByName(const AnsiString& name) const { return fields_.FieldByName(name); }
  // True while the fields are the ones the data set made itself.
  bool DefaultFields() const { return defaultFields_; }
  bool IsEmpty() const { return recordCount_ == 0; }
  bool CanModify() { return GetCanModify(); }
  // A stream over the blob or memo `field` of the active record; the base has none (null).
  virtual std::unique_ptr<TStream> CreateBlobStream(TField& /*field*/, TBlobStreamMode /*mode*/) { return nullptr; }
  // Whether RecNo() and RecordCount() are exact.
  virtual bool IsSequenced();

protected:
  // The protocol a derived data set implements.
  virtual TRecordBuffer AllocRecordBuffer() = 0;
  // Frees the buffer and sets it to nullptr.
  virtual void FreeRecordBuffer(TRecordBuffer& buffer) = 0;
  // `doCheck` false: answer grError instead of raising when the record cannot be read.
  virtual TGetResult GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) = 0;
  virtual void InternalOpen() = 0;
  virtual void InternalClose() = 0;
  virtual bool IsCursorOpen() const = 0;
  // Fills FieldDefs() with the columns of the open cursor.
  virtual void InternalInitFieldDefs() = 0;
  virtual void InternalFirst() = 0;
  virtual void InternalLast() = 0;
  virtual void InternalSetToRecord(TRecordBuffer buffer) = 0;
  virtual void InternalGotoBookmark(const TBookmark& bookmark) = 0;
  virtual void GetBookmarkData(TRecordBuffer buffer, TBookmark& bookmark) = 0;
  // The value of `field` in the record in `buffer`; false for null.
  virtual bool GetFieldData(const TField& field, TRecordBuffer buffer, TFieldValue& value) = 0;
  // The text of a text or integer field (TStringField, TIntegerField, TLargeintField and their
  // kin) in `buffer` read without building its value: the text of what GetFieldData gives,
  // empty for null. False when the data set cannot do better than GetFieldData for this
  // field; the base never can.
  virtual bool GetFieldText(const TField& field, TRecordBuffer buffer, AnsiString& text);
  // Stores a calculated field's value (null when clearing); the base raises EDatabaseError.
  virtual void SetFieldData(const TField& field, TRecordBuffer buffer, const TFieldValue& value);
  virtual int GetRecordCount();
  virtual int GetRecNo();
  virtual bool GetCanModify();
  // Brings the cursor's records up to date before Refresh() refills the buffers.
  virtual void InternalRefresh();
  // Deletes the record under the cursor, leaving the cursor on its successor.
  virtual void InternalDelete();
  // Called with an exception from opening in Loaded() being handled; the base rethrows it.
  virtual void InternalHandleException();
  // Sets every calculated field of `buffer` to null before OnCalcFields runs.
  virtual void ClearCalcFields(TRecordBuffer buffer);

  void Loaded() override;

  // Helpers for the derived class. ActiveBuffer() is nullptr while no record is buffered.
  TRecordBuffer ActiveBuffer() const { return recordCount_ > 0 ? buffers_[activeRecord_] : nullptr; }
  int ActiveRecord() const { return activeRecord_; }
  int BufferCount() const { return bufferCount_; }
  // Raises EListError for an index outside 0..BufferCount()-1.
  TRecordBuffer Buffers(int index) const;
  void CreateFields();
  void DestroyFields();
  // Ties every data field to its definition by name; raises EDatabaseError for a field
  // without one or of another type.
  void BindFields();
  void DataEvent(TDataEvent event, std::intptr_t info);
  // Raise EDatabaseError while the data set is closed or open.
  void CheckActive() const;
  void CheckInactive() const;
  void CheckBrowseMode();
  void DoBeforeScroll();
  void DoAfterScroll();
  // Puts the cursor on the active record, or forgets where it is.
  void UpdateCursorPos();
  void CursorPosChanged() { cursorRecord_ = -1; }
  // Runs OnCalcFields for the record in `buffer`.
  void CalculateFields(TRecordBuffer buffer);
  // Asks OnFilterRecord about the record in `buffer`; true without a handler.
  bool FilterRecord(TRecordBuffer buffer);

private:
  friend class TField;
  friend class TFields;
  friend class TFieldDefs;
  friend class TDataSource;
  friend class TDataLink;

  void openCursor();
  void closeCursor();
  // Resizes the ring, reading records to fill it or dropping records from the end away from
  // the active one; updateBufferCount() keeps it at the largest buffer count of the links.
  void setBufListSize(int count);
  void freeBuffers();
  void clearBuffers();
  bool readRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck);
  bool fetchNext();
  bool fetchPrior();
  void fillForward();
  void fillBackward();
  void syncCursorTo(int index);
  void setState(TDataSetState state);
  // The record fields read: the one being calculated or filtered, else the active one.
  TRecordBuffer fieldBuffer() const {
    switch (state_) {
      case dsInactive:
      case dsOpening: return nullptr;
      case dsCalcFields:
      case dsFilter:
      case dsInternalCalc: return calcBuffer_;
      default: return ActiveBuffer();
    }
  }
  void fieldListChanged();
  void updateBufferCount(const TDataLink* requester);
  int wantedBufferCount() const;
  std::vector<TDataLink*> allLinks() const;
  void addDataSource(TDataSource* source);
  void removeDataSource(TDataSource* source);
  void setActiveRecord(int index) { activeRecord_ = index; }

  TFields fields_;
  TFieldDefs fieldDefs_;
  std::vector<TDataSource*> sources_;
  // buffers_[0..bufferCount_-1] is the ring, buffers_[bufferCount_] the spare; the first
  // recordCount_ hold records.
  std::vector<TRecordBuffer> buffers_;
  int bufferCount_ = 0;
  int recordCount_ = 0;
  int activeRecord_ = 0;
  int cursorRecord_ = -1;  // the buffer whose record the cursor is on, -1 when unknown
  int ringShift_ = 0;      // places the buffered records moved towards the end in this step
  int disableCount_ = 0;
  int calcFieldCount_ = 0;
  TRecordBuffer calcBuffer_ = nullptr;  // the record OnCalcFields or OnFilterRecord looks at
  TDataSetState state_ = dsInactive;
  bool bof_ = true;
  bool eof_ = true;
  bool defaultFields_ = true;
  bool autoCalcFields_ = true;
  bool streamedActive_ = false;
};
