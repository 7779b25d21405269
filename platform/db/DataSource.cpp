#include "platform/db/DataSource.h"

#include <algorithm>
#include <string>

#include "platform/classes/Exceptions.h"
#include "platform/db/ThenAnyway.h"

namespace {

template <class T>
bool contains(const std::vector<T*>& list, const T* item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

// TDataSource

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
  // The data set and the links hear of it while this object is whole. A destructor cannot
  // pass on what their handlers throw.
  try {
    SetDataSet(nullptr);
  } catch (...) {
  }
  while (!links_.empty()) {
    TDataLink* link = links_.back();
    links_.pop_back();
    link->dataSource_ = nullptr;
    try {
      link->updateState();
    } catch (...) {
    }
  }
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  // A data set on its way out has already told its partners; it would not tell this one.
  if (dataSet && dataSet->ComponentState().Contains(csDestroying)) dataSet = nullptr;
  if (dataSet == dataSet_) return;
  if (dataSet_) detach();
  if (!dataSet) return;
  dataSet_ = dataSet;
  FreeNotification(dataSet);
  // Filling the grown buffers may fail; the links still learn that the data set is theirs.
  db_detail::thenAnyway([&] { dataSet->addDataSource(this); }, [&] { updateLinkStates(); });
}

void TDataSource::detach() {
  TDataSet* previous = dataSet_;
  dataSet_ = nullptr;
  RemoveFreeNotification(previous);
  previous->removeDataSource(this);
  // The links of other sources may have needed fewer buffers than this source's links.
  db_detail::thenAnyway([&] { updateLinkStates(); }, [&] { previous->updateBufferCount(nullptr); });
}

void TDataSource::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  updateLinkStates();
}

TDataSetState TDataSource::State() const { return dataSet_ && enabled_ ? dataSet_->State() : dsInactive; }

void TDataSource::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == dataSet_ && component->ComponentState().Contains(csDestroying)) {
    // Past its own destructor: nothing may be asked of it any more. This runs inside that
    // destructor, which cannot pass on what the links' handlers throw.
    dataSet_ = nullptr;
    try {
      updateLinkStates();
    } catch (...) {
    }
  }
  TComponent::Notification(component, operation);
}

void TDataSource::updateLinkStates() {
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links)
    if (contains(links_, link)) link->updateState();
  const TDataSetState state = State();
  if (state == reportedState_) return;
  reportedState_ = state;
  if (OnStateChange) OnStateChange(*this);
}

void TDataSource::dataEvent(TDataEvent event, std::intptr_t info) {
  if (!enabled_) return;
  if (event == deUpdateState) {
    updateLinkStates();
    return;
  }
  const std::vector<TDataLink*> links = links_;
  for (TDataLink* link : links) {
    if (!contains(links_, link)) continue;
    link->dataEvent(event, info);
    if (event == deFocusControl && *reinterpret_cast<TField**>(info) == nullptr) return;
  }
  if (!OnDataChange) return;
  if (event == deFieldChange)
    OnDataChange(*this, reinterpret_cast<TField*>(info));
  else if (event == deDataSetChange || event == deDataSetScroll || event == deRecordChange)
    OnDataChange(*this, nullptr);
}

void TDataSource::addLink(TDataLink* link) {
  links_.push_back(link);
  link->dataSource_ = this;
  if (dataSet_) dataSet_->updateBufferCount(link);
}

void TDataSource::removeLink(TDataLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
  link->dataSource_ = nullptr;
  if (dataSet_) dataSet_->updateBufferCount(nullptr);
}

// TDataLink

TDataLink::~TDataLink() {
  if (!dataSource_) return;
  // Only the others hear of it; a destructor cannot pass on what they throw.
  try {
    dataSource_->removeLink(this);
  } catch (...) {
  }
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source == dataSource_) return;
  db_detail::thenAnyway(
      [&] {
        if (dataSource_) dataSource_->removeLink(this);
        if (source) source->addLink(this);
      },
      [&] { updateState(); });
}

TDataSet* TDataLink::DataSet() const { return dataSource_ ? dataSource_->DataSet() : nullptr; }

void TDataLink::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  updateState();
}

void TDataLink::SetBufferCount(int count) {
  count = std::max(count, 1);
  if (count == bufferCount_) return;
  bufferCount_ = count;
  if (TDataSet* dataSet = DataSet()) dataSet->updateBufferCount(this);
  syncWindow(0);
}

int TDataLink::RecordCount() const {
  const TDataSet* dataSet = active_ ? DataSet() : nullptr;
  if (!dataSet) return 0;
  return std::clamp(dataSet->recordCount_ - first_, 0, bufferCount_);
}

int TDataLink::ActiveRecord() const {
  const TDataSet* dataSet = active_ ? DataSet() : nullptr;
  return dataSet ? dataSet->activeRecord_ - first_ : 0;
}

void TDataLink::SetActiveRecord(int index) {
  TDataSet* dataSet = active_ ? DataSet() : nullptr;
  if (!dataSet) return;
  if (index < 0 || index >= std::max(RecordCount(), 1))
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  dataSet->setActiveRecord(first_ + index);
}

bool TDataLink::Bof() const {
  const TDataSet* dataSet = DataSet();
  return !dataSet || dataSet->Bof();
}

bool TDataLink::Eof() const {
  const TDataSet* dataSet = DataSet();
  return !dataSet || dataSet->Eof();
}

int TDataLink::MoveBy(int distance) {
  TDataSet* dataSet = active_ ? DataSet() : nullptr;
  return dataSet ? dataSet->MoveBy(distance) : 0;
}

void TDataLink::updateState() {
  const TDataSet* dataSet = DataSet();
  const bool active = dataSource_ && dataSource_->Enabled() && dataSet && dataSet->Active();
  if (active != active_) {
    active_ = active;
    first_ = 0;
    syncWindow(0);
    ActiveChanged();
  }
  const TDataSetState state = active_ && DataSet() ? DataSet()->State() : dsInactive;
  const bool editing = !readOnly_ && (state == dsEdit || state == dsInsert);
  if (editing == editing_) return;
  editing_ = editing;
  EditingChanged();
}

// Keeps the active record inside the window and the window as full as the buffered records
// allow, after the buffered records moved `shift` places towards the end of the ring.
void TDataLink::syncWindow(int shift) {
  const TDataSet* dataSet = active_ ? DataSet() : nullptr;
  if (!dataSet) {
    first_ = 0;
    lastScroll_ = 0;
    return;
  }
  const int moved = first_ + shift;
  const int size = std::min(bufferCount_, std::max(dataSet->bufferCount_, 1));
  int first = std::min(moved, dataSet->activeRecord_);
  first = std::max(first, dataSet->activeRecord_ - size + 1);
  first = std::min(first, dataSet->recordCount_ - size);
  first_ = std::max(first, 0);
  lastScroll_ = first_ - moved;
}

void TDataLink::dataEvent(TDataEvent event, std::intptr_t info) {
  // A closing data set still tells its links that everything changed.
  if (event == deUpdateState) {
    updateState();
    return;
  }
  if (event == deDataSetChange) {
    DataSetChanged();
    return;
  }
  if (!active_) return;
  switch (event) {
    case deDataSetScroll:
      DataSetScrolled(lastScroll_);
      break;
    case deLayoutChange:
      LayoutChanged();
      break;
    case deRecordChange:
      RecordChanged(nullptr);
      break;
    case deFieldChange:
      RecordChanged(reinterpret_cast<TField*>(info));
      break;
    case deFocusControl:
      FocusControl(*reinterpret_cast<TField**>(info));
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deUpdateRecord:
      UpdateData();
      break;
    default:
      break;
  }
}
