#include "platform/db/DataSet.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/classes/Exceptions.h"
#include "platform/db/DataSource.h"
#include "platform/db/ThenAnyway.h"

namespace {

[[noreturn]] void databaseError(const AnsiString& message) { throw EDatabaseError(message); }

using db_detail::thenAnyway;

}  // namespace

TDataSet::TDataSet(TComponent* owner) : TComponent(owner), fields_(this), fieldDefs_(this) {}

TDataSet::~TDataSet() {
  // The derived class has closed the cursor. Fields that another component owns outlive
  // this data set; the ones it owns go with its components, when nothing may reach it any
  // more. Data sources learn of the end through Notification().
  for (TField* field : fields_.list_) field->dataSet_ = nullptr;
  fields_.list_.clear();
}

// State and lifetime

void TDataSet::SetActive(bool active) {
  if (Loading()) {
    streamedActive_ = active;
    return;
  }
  if (active) {
    if (state_ == dsInactive) openCursor();
  } else if (Active()) {
    if (state_ != dsBrowse) databaseError("Cannot close a dataset while it computes a record");
    closeCursor();
  }
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (!streamedActive_) return;
  try {
    SetActive(true);
  } catch (...) {
    InternalHandleException();
  }
}

void TDataSet::openCursor() {
  if (BeforeOpen) BeforeOpen(*this);
  defaultFields_ = fields_.Count() == 0;
  state_ = dsOpening;
  try {
    InternalOpen();
    fieldDefs_.Update();
    if (defaultFields_ && fields_.Count() == 0) CreateFields();
    BindFields();
    setBufListSize(wantedBufferCount());
    InternalFirst();
    fillForward();
  } catch (...) {
    // Leave it closed. A second failure while closing would only hide the first one.
    freeBuffers();
    state_ = dsInactive;
    try {
      if (IsCursorOpen()) InternalClose();
    } catch (...) {
    }
    if (defaultFields_) DestroyFields();
    throw;
  }
  bof_ = true;
  eof_ = recordCount_ == 0;
  setState(dsBrowse);
  DataEvent(deDataSetChange, 0);
  if (AfterOpen) AfterOpen(*this);
  DoAfterScroll();
}

void TDataSet::closeCursor() {
  if (BeforeClose) BeforeClose(*this);
  clearBuffers();
  bof_ = eof_ = true;
  // The links let go of the records and fields before either goes away.
  thenAnyway(
      [&] {
        setState(dsInactive);
        DataEvent(deDataSetChange, 0);
      },
      [&] {
        freeBuffers();
        thenAnyway([&] { InternalClose(); },
                   [&] {
                     if (defaultFields_) DestroyFields();
                   });
      });
  if (AfterClose) AfterClose(*this);
}

void TDataSet::setState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  DataEvent(deUpdateState, 0);
}

void TDataSet::CheckActive() const {
  if (!Active()) databaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (Active()) databaseError("Cannot perform this operation on an open dataset");
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  // A move would overwrite the record being computed.
  if (state_ != dsBrowse) databaseError("Cannot move a dataset while it computes a record");
  DataEvent(deCheckBrowseMode, 0);
}

void TDataSet::DoBeforeScroll() {
  if (BeforeScroll) BeforeScroll(*this);
}

void TDataSet::DoAfterScroll() {
  if (AfterScroll) AfterScroll(*this);
}

// Buffers

TRecordBuffer TDataSet::Buffers(int index) const {
  if (index < 0 || index >= bufferCount_) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return buffers_[static_cast<std::size_t>(index)];
}

void TDataSet::setBufListSize(int count) {
  if (state_ == dsInactive) return;
  count = std::max(count, 1);
  if (count == bufferCount_) return;
  const auto wanted = static_cast<std::size_t>(count) + 1;  // the ring and the spare
  if (count > bufferCount_) {
    // Allocated aside first, so that a failing allocation leaves the ring as it was.
    std::vector<TRecordBuffer> added;
    try {
      while (buffers_.size() + added.size() < wanted) added.push_back(AllocRecordBuffer());
    } catch (...) {
      for (TRecordBuffer& buffer : added) FreeRecordBuffer(buffer);
      throw;
    }
    buffers_.insert(buffers_.end(), added.begin(), added.end());
    bufferCount_ = count;
    if (state_ == dsBrowse) {
      fillForward();
      fillBackward();
    }
    return;
  }
  // Keep the active record: drop what would push it out from the front, the rest from the end.
  if (activeRecord_ >= count) {
    const int drop = activeRecord_ - count + 1;
    std::rotate(buffers_.begin(), buffers_.begin() + drop, buffers_.begin() + recordCount_);
    recordCount_ -= drop;
    activeRecord_ -= drop;
    ringShift_ -= drop;
    cursorRecord_ = cursorRecord_ >= drop ? cursorRecord_ - drop : -1;
  }
  if (recordCount_ > count) recordCount_ = count;
  if (cursorRecord_ >= recordCount_) cursorRecord_ = -1;
  while (buffers_.size() > wanted) {
    FreeRecordBuffer(buffers_.back());
    buffers_.pop_back();
  }
  bufferCount_ = count;
}

void TDataSet::freeBuffers() {
  clearBuffers();
  bufferCount_ = 0;
  while (!buffers_.empty()) {
    FreeRecordBuffer(buffers_.back());
    buffers_.pop_back();
  }
}

void TDataSet::clearBuffers() {
  recordCount_ = 0;
  activeRecord_ = 0;
  cursorRecord_ = -1;
}

bool TDataSet::readRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  switch (GetRecord(buffer, mode, doCheck)) {
    case grOK:
      if (autoCalcFields_ && calcFieldCount_ > 0) CalculateFields(buffer);
      return true;
    case grError:
      if (doCheck) databaseError("Cannot read a record of the dataset");
      return false;
    default:
      return false;
  }
}

void TDataSet::syncCursorTo(int index) {
  if (cursorRecord_ == index) return;
  cursorRecord_ = -1;
  InternalSetToRecord(buffers_[static_cast<std::size_t>(index)]);
  cursorRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (recordCount_ > 0) syncCursorTo(activeRecord_);
}

// Reads the record after the last buffered one. In a full ring it goes into the spare and
// the ring turns: the first record drops out and every index falls by one.
bool TDataSet::fetchNext() {
  if (recordCount_ > 0) syncCursorTo(recordCount_ - 1);
  const bool full = recordCount_ == bufferCount_;
  const int slot = full ? bufferCount_ : recordCount_;
  cursorRecord_ = -1;
  if (!readRecord(buffers_[static_cast<std::size_t>(slot)], gmNext, true)) return false;
  if (full) {
    std::rotate(buffers_.begin(), buffers_.begin() + 1, buffers_.begin() + bufferCount_ + 1);
    activeRecord_ = std::max(activeRecord_ - 1, 0);
    --ringShift_;
  } else {
    ++recordCount_;
  }
  cursorRecord_ = recordCount_ - 1;
  return true;
}

// Reads the record before the first buffered one into index 0; every index rises by one and
// in a full ring the last record drops out.
bool TDataSet::fetchPrior() {
  const bool hadRecords = recordCount_ > 0;
  if (hadRecords) syncCursorTo(0);
  const bool full = recordCount_ == bufferCount_;
  const int slot = full ? bufferCount_ : recordCount_;
  cursorRecord_ = -1;
  if (!readRecord(buffers_[static_cast<std::size_t>(slot)], gmPrior, true)) return false;
  std::rotate(buffers_.begin(), buffers_.begin() + slot, buffers_.begin() + slot + 1);
  if (!full) ++recordCount_;
  if (hadRecords) activeRecord_ = std::min(activeRecord_ + 1, recordCount_ - 1);
  ++ringShift_;
  cursorRecord_ = 0;
  return true;
}

void TDataSet::fillForward() {
  while (recordCount_ < bufferCount_ && fetchNext()) {
  }
}

void TDataSet::fillBackward() {
  while (recordCount_ < bufferCount_ && fetchPrior()) {
  }
}

int TDataSet::wantedBufferCount() const {
  int wanted = 1;
  for (const TDataLink* link : allLinks()) wanted = std::max(wanted, link->bufferCount_);
  return wanted;
}

std::vector<TDataLink*> TDataSet::allLinks() const {
  std::vector<TDataLink*> links;
  for (const TDataSource* source : sources_) links.insert(links.end(), source->links_.begin(), source->links_.end());
  return links;
}

void TDataSet::updateBufferCount(const TDataLink* requester) {
  if (state_ != dsBrowse) return;
  const int wanted = wantedBufferCount();
  if (wanted == bufferCount_) return;
  const std::vector<TDataLink*> links = allLinks();
  const auto window = [this](const TDataLink* link) {
    const int first = std::min(link->first_, recordCount_);
    const int last = first + link->RecordCount();
    return std::vector<TRecordBuffer>(buffers_.begin() + first, buffers_.begin() + std::min(last, recordCount_));
  };
  std::vector<std::vector<TRecordBuffer>> before;
  for (const TDataLink* link : links) before.push_back(window(link));
  ringShift_ = 0;
  thenAnyway([&] { setBufListSize(wanted); },
             [&] {
               for (TDataLink* link : links) link->syncWindow(ringShift_);
               ringShift_ = 0;
             });
  if (disableCount_ > 0) return;
  // The link that asked reads its new window itself; the others are told when theirs shows
  // other records now.
  for (std::size_t i = 0; i < links.size(); ++i) {
    TDataLink* link = links[i];
    if (link == requester || !link->Active() || link->DataSet() != this) continue;
    if (window(link) != before[i]) link->DataSetChanged();
  }
}

// Navigation

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  clearBuffers();
  thenAnyway(
      [&] {
        InternalFirst();
        fillForward();
      },
      [&] {
        bof_ = true;
        eof_ = recordCount_ == 0;
        DataEvent(deDataSetChange, 0);
      });
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  clearBuffers();
  thenAnyway(
      [&] {
        InternalLast();
        fillBackward();
      },
      [&] {
        activeRecord_ = std::max(recordCount_ - 1, 0);
        eof_ = true;
        bof_ = recordCount_ == 0;
        DataEvent(deDataSetChange, 0);
      });
  DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  DoBeforeScroll();
  bof_ = eof_ = false;
  ringShift_ = 0;
  int moved = 0;
  thenAnyway(
      [&] {
        while (moved < distance) {
          if (activeRecord_ < recordCount_ - 1) {
            ++activeRecord_;
          } else if (fetchNext()) {
            activeRecord_ = recordCount_ - 1;
          } else {
            eof_ = true;
            break;
          }
          ++moved;
        }
        while (moved > distance) {
          if (activeRecord_ > 0) {
            --activeRecord_;
          } else if (fetchPrior()) {
            activeRecord_ = 0;
          } else {
            bof_ = true;
            break;
          }
          --moved;
        }
      },
      [&] {
        const int shift = ringShift_;
        ringShift_ = 0;
        DataEvent(deDataSetScroll, shift);
      });
  DoAfterScroll();
  return moved;
}

void TDataSet::SetRecNo(int recNo) {
  CheckBrowseMode();
  const int current = RecNo();
  if (current > 0 && recNo != current) MoveBy(recNo - current);
}

void TDataSet::Resync(TResyncMode mode) {
  CheckActive();
  const int before = (mode & rmCenter) != 0 ? (bufferCount_ - 1) / 2 : activeRecord_;
  // Read into the spare first: an exact resync that fails leaves the buffers as they were.
  const TRecordBuffer spare = buffers_[static_cast<std::size_t>(bufferCount_)];
  cursorRecord_ = -1;
  bool found = readRecord(spare, gmCurrent, false);
  if (!found && (mode & rmExact) != 0) databaseError("Record not found");
  if (!found) found = readRecord(spare, gmNext, false) || readRecord(spare, gmPrior, false);
  clearBuffers();
  thenAnyway(
      [&] {
        if (!found) return;
        std::swap(buffers_[0], buffers_[static_cast<std::size_t>(bufferCount_)]);
        recordCount_ = 1;
        cursorRecord_ = 0;
        for (int i = 0; i < before && fetchPrior(); ++i) {
        }
        fillForward();
        fillBackward();
      },
      [&] {
        ringShift_ = 0;
        bof_ = eof_ = recordCount_ == 0;
        DataEvent(deDataSetChange, 0);
      });
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  UpdateCursorPos();
  thenAnyway([&] { InternalRefresh(); }, [&] { Resync(); });
}

void TDataSet::Delete() {
  CheckActive();
  if (IsEmpty()) databaseError("Cannot perform this operation on an empty dataset");
  if (!CanModify()) databaseError("Cannot modify a read-only dataset");
  CheckBrowseMode();
  DoBeforeScroll();
  UpdateCursorPos();
  cursorRecord_ = -1;
  InternalDelete();
  Resync();
  DoAfterScroll();
}

TBookmark TDataSet::GetBookmark() {
  TBookmark bookmark;
  if (state_ == dsBrowse && recordCount_ > 0) GetBookmarkData(ActiveBuffer(), bookmark);
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  CheckBrowseMode();
  DoBeforeScroll();
  cursorRecord_ = -1;
  InternalGotoBookmark(bookmark);
  Resync(rmExact | rmCenter);
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark&) { return false; }

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) {
  if (a.empty() || b.empty()) return static_cast<int>(a.empty()) - static_cast<int>(b.empty());
  if (a == b) return 0;
  return a < b ? -1 : 1;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ == 0) DataEvent(deDataSetChange, 0);
}

// Fields

void TDataSet::fieldListChanged() {
  calcFieldCount_ = static_cast<int>(
      std::count_if(fields_.list_.begin(), fields_.list_.end(), [](const TField* f) { return f->Calculated(); }));
  if (state_ == dsInactive) defaultFields_ = fields_.list_.empty();
  if (Active()) DataEvent(deLayoutChange, 0);
}

void TDataSet::CreateFields() {
  for (int i = 0; i < fieldDefs_.Count(); ++i) {
    const TFieldDef& def = *fieldDefs_.Items(i);
    if ((def.Attributes() & faHiddenCol) == 0) def.CreateField(this, this);
  }
}

void TDataSet::DestroyFields() {
  while (!fields_.list_.empty()) delete fields_.list_.back();
}

void TDataSet::BindFields() {
  for (TField* field : fields_.list_) {
    if (field->Calculated()) {
      field->fieldNo_ = 0;
      continue;
    }
    const int index = fieldDefs_.IndexOf(field->FieldName());
    if (index < 0) databaseError("Field '" + field->FieldName() + "' not found");
    const TFieldDef& def = *fieldDefs_.Items(index);
    if (def.DataType() != field->DataType()) databaseError("Type mismatch for field '" + field->FieldName() + "'");
    field->fieldNo_ = def.FieldNo();
  }
}

void TDataSet::CalculateFields(TRecordBuffer buffer) {
  const TDataSetState savedState = std::exchange(state_, dsCalcFields);
  const TRecordBuffer savedBuffer = std::exchange(calcBuffer_, buffer);
  thenAnyway(
      [&] {
        ClearCalcFields(buffer);
        if (OnCalcFields) OnCalcFields(*this);
      },
      [&] {
        state_ = savedState;
        calcBuffer_ = savedBuffer;
      });
}

bool TDataSet::FilterRecord(TRecordBuffer buffer) {
  bool accept = true;
  if (!OnFilterRecord) return accept;
  const TDataSetState savedState = std::exchange(state_, dsFilter);
  const TRecordBuffer savedBuffer = std::exchange(calcBuffer_, buffer);
  thenAnyway([&] { OnFilterRecord(*this, accept); },
             [&] {
               state_ = savedState;
               calcBuffer_ = savedBuffer;
             });
  return accept;
}

void TDataSet::ClearCalcFields(TRecordBuffer buffer) {
  for (const TField* field : fields_.list_)
    if (field->Calculated()) SetFieldData(*field, buffer, TFieldValue());
}

// Defaults of the protocol

void TDataSet::SetFieldData(const TField& field, TRecordBuffer, const TFieldValue&) {
  databaseError("Field '" + field.FieldName() + "' cannot be modified");
}

bool TDataSet::GetFieldText(const TField&, TRecordBuffer, AnsiString&) { return false; }

int TDataSet::GetRecordCount() { return -1; }

int TDataSet::GetRecNo() { return -1; }

bool TDataSet::GetCanModify() { return false; }

bool TDataSet::IsSequenced() { return false; }

void TDataSet::InternalRefresh() {}

void TDataSet::InternalDelete() { databaseError("Cannot modify a read-only dataset"); }

void TDataSet::InternalHandleException() { throw; }

// Events to data sources

void TDataSet::DataEvent(TDataEvent event, std::intptr_t info) {
  if (sources_.empty()) return;
  // Windows follow the buffers even while controls are disabled: code that disabled them
  // may still read a link's active record.
  if (event == deDataSetChange || event == deDataSetScroll || event == deLayoutChange) {
    const int shift = event == deDataSetScroll ? static_cast<int>(info) : 0;
    for (TDataLink* link : allLinks()) link->syncWindow(shift);
  }
  if (disableCount_ > 0 && event != deUpdateState) return;
  // Handlers may detach sources; each is asked only while it is still attached.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) continue;
    source->dataEvent(event, info);
    if (event == deFocusControl && *reinterpret_cast<TField**>(info) == nullptr) break;
  }
}

void TDataSet::addDataSource(TDataSource* source) {
  sources_.push_back(source);
  updateBufferCount(nullptr);
}

void TDataSet::removeDataSource(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}
