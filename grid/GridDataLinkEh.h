#pragma once
// The grid's link to its data set: passes every notification on to the grid and keeps the
// field map, the data set's field index for each column position.

#include <vector>

#include "platform/db/DataSource.h"

class TCustomDBGridEh;

class TGridDataLinkEh : public TDataLink {
 public:
  explicit TGridDataLinkEh(TCustomDBGridEh& grid) : grid_(grid) {}
  const char* ClassName() const override { return "TGridDataLinkEh"; }

  // The map: one entry a column position, -1 for a name without a field.
  int FieldCount() const { return static_cast<int>(map_.size()); }
  int FieldIndex(int position) const;
  // Adds the field named `name`; raises "Grid requested to display more than 256 columns"
  // when the map is at its limit.
  void AddMapping(int fieldIndex);
  void ClearMapping();
  bool SparseMap = false;
  bool Modified = false;

  // The largest number of entries the map may hold.
  static constexpr int kMaxMapSize = 268435455;

 protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void DataSetScrolled(int distance) override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void EditingChanged() override;
  void FocusControl(TField*& field) override;
  void UpdateData() override;

 private:
  TCustomDBGridEh& grid_;
  std::vector<int> map_;
  bool inUpdateData_ = false;
};
