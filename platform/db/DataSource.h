#pragma once
// Data sources and data links: how controls hear of a data set.
//
// A data source binds any number of data links to one data set. Each link sees a window of
// the data set's buffered records, BufferCount() records long, that contains the active
// record; windows of different links move independently (two grids of different heights
// on one data set each scroll by their own rows). The data set buffers as many records as
// the largest window needs.
//
// What a link hears:
//   ActiveChanged    the link became active or inactive (data set opened or closed, data
//                    source changed or switched off), before anything else about it;
//   DataSetChanged   the records may all be different: open, close, First, Last, a
//                    bookmark, Refresh, Delete, the last EnableControls(), or another link
//                    changed the buffering so that this window now shows other records;
//   DataSetScrolled  a move: the window's first record moved by `distance` (0 when only the
//                    active record moved inside the window);
//   LayoutChanged    fields were added, removed, moved, shown, hidden or relabelled while
//                    the data set is open; the base passes it on as DataSetChanged;
//   RecordChanged, EditingChanged, FocusControl, CheckBrowseMode, UpdateData: the data
//                    set's requests of the same names.
// Only DataSetChanged and ActiveChanged reach an inactive link.
//
// Any of the three may be destroyed first: a destroyed data set leaves its sources without
// a data set, a destroyed source leaves its links without a source, a destroyed link leaves
// its source.

#include <functional>
#include <vector>

#include "platform/classes/Component.h"
#include "platform/classes/Events.h"
#include "platform/db/DataSet.h"

class TDataLink;

using TDataChangeEvent = std::function<void(TObject& sender, TField* field)>;

class TDataSource : public TComponent {
public:
  explicit TDataSource(TComponent* owner);
  ~TDataSource() override;

  const char* ClassName() const override { return "TDataSource"; }

  // With the field that changed, or nullptr when the record or the position changed.
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnStateChange;

  TDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* dataSet);
  // A disabled source keeps its links inactive.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool AutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }
  // dsInactive without a data set or while disabled.
  TDataSetState State() const;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TDataSet;
  friend class TDataLink;

  void dataEvent(TDataEvent event, std::intptr_t info);
  void updateLinkStates();
  void addLink(TDataLink* link);
  void removeLink(TDataLink* link);
  void detach();

  TDataSet* dataSet_ = nullptr;
  std::vector<TDataLink*> links_;
  TDataSetState reportedState_ = dsInactive;  // the state OnStateChange last told of
  bool enabled_ = true;
  bool autoEdit_ = true;
};

class TDataLink : public TPersistent {
public:
  TDataLink() = default;
  ~TDataLink() override;

  const char* ClassName() const override { return "TDataLink"; }

  TDataSource* DataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;
  // Attached through an enabled source to an open data set.
  bool Active() const { return active_; }
  // Active and the data set is editing or inserting.
  bool Editing() const { return editing_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly);

  // The window: BufferCount() records at most, RecordCount() of them present, the active
  // record at ActiveRecord() (0 while inactive).
  int BufferCount() const { return bufferCount_; }
  // At least 1. The data set reads records to fill a grown window at once.
  void SetBufferCount(int count);
  int RecordCount() const;
  int ActiveRecord() const;
  // Makes another record of the window the data set's active one, for reading its fields
  // (a grid drawing its rows); nothing moves and nobody hears of it. Raises EListError for
  // an index outside the window.
  void SetActiveRecord(int index);
  bool Bof() const;
  bool Eof() const;
  // The data set's MoveBy(); 0 while inactive.
  int MoveBy(int distance);

protected:
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled([[maybe_unused]] int distance) { DataSetChanged(); }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged([[maybe_unused]] TField* field) {}
  virtual void EditingChanged() {}
  // Clear `field` to take the request.
  virtual void FocusControl([[maybe_unused]] TField*& field) {}
  virtual void CheckBrowseMode() {}
  virtual void UpdateData() {}

private:
  friend class TDataSet;
  friend class TDataSource;

  void dataEvent(TDataEvent event, std::intptr_t info);
  void updateState();
  void syncWindow(int shift);

  TDataSource* dataSource_ = nullptr;
  int bufferCount_ = 1;
  int first_ = 0;       // the data set's buffer index of the window's first record
  int lastScroll_ = 0;  // distance the window moved in the latest sync
  bool active_ = false;
  bool editing_ = false;
  bool readOnly_ = false;
};
