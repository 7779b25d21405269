#include "grid/GridDataLinkEh.h"

#include "grid/DBGridEh.h"
#include "platform/classes/Exceptions.h"

int TGridDataLinkEh::FieldIndex(int position) const {
  if (position < 0 || position >= FieldCount()) return -1;
  return map_[static_cast<std::size_t>(position)];
}

void TGridDataLinkEh::AddMapping(int fieldIndex) {
  if (FieldCount() >= kMaxMapSize) throw Exception("Grid requested to display more than 256 columns");
  // Capacity doubles from 8, as the map grows.
  if (map_.size() == map_.capacity()) map_.reserve(std::max<std::size_t>(8, map_.capacity() * 2));
  map_.push_back(fieldIndex);
}

void TGridDataLinkEh::ClearMapping() {
  map_.clear();
  SparseMap = false;
}

void TGridDataLinkEh::ActiveChanged() {
  grid_.LinkActive(Active());
  Modified = false;
}

void TGridDataLinkEh::DataSetChanged() {
  grid_.DataChanged();
  Modified = false;
}

void TGridDataLinkEh::DataSetScrolled(int distance) { grid_.Scroll(distance); }

void TGridDataLinkEh::LayoutChanged() {
  grid_.LinkLayoutChanged();
  TDataLink::LayoutChanged();
}

void TGridDataLinkEh::RecordChanged(TField* field) {
  grid_.RecordChanged(field);
  Modified = false;
}

void TGridDataLinkEh::EditingChanged() { grid_.EditingChanged(); }

void TGridDataLinkEh::FocusControl(TField*& field) { grid_.FocusField(field); }

void TGridDataLinkEh::UpdateData() {
  if (inUpdateData_ || !Modified) {
    Modified = false;
    return;
  }
  inUpdateData_ = true;
  try {
    grid_.UpdateData();
  } catch (...) {
    inUpdateData_ = false;
    throw;
  }
  inUpdateData_ = false;
  Modified = false;
}
