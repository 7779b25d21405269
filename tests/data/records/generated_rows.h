#pragma once
// A record set over generated rows, for the record buffer's tests: no connection, no
// statement, rows numbered 1, 2, … with a title and an author.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/records/MemData.h"
#include "platform/classes/Exceptions.h"

inline std::unique_ptr<TFieldDesc> makeField(const char* name, std::uint16_t code, int length = 0) {
  auto desc = std::make_unique<TCRFieldDesc>();
  desc->Name = name;
  desc->ActualName = name;
  desc->DataType = code;
  desc->Length = static_cast<std::uint16_t>(length);
  desc->Size = DataTypeSize(code, length);
  return desc;
}

// Adds a field numbered after the ones there are.
inline TFieldDesc& addField(TData& data, const char* name, std::uint16_t code, int length = 0) {
  auto desc = makeField(name, code, length);
  desc->FieldNo = static_cast<std::uint16_t>(data.FieldCount() + 1);
  TFieldDesc& added = *desc;
  data.Fields().Add(std::move(desc));
  return added;
}

// Hands out `rows` rows: id (1, 2, …, or the ids of `order`), tm (a heap string) and zz.
class GeneratedRows : public TCRRecordSet {
 public:
  explicit GeneratedRows(int rows) : rows_(rows) {}
  int reads = 0;
  int failAtRow = -1;
  std::vector<AnsiString> titles;
  // The ids in the order they are read; empty: 1, 2, …
  std::vector<std::int32_t> order;
  // Extra columns the rows carry after the three above, filled by `fill`.
  std::function<void(TData&)> extraFields;
  std::function<void(TData&, std::byte* record, std::int32_t id)> fill;

  // Generated rows need no connection and run no statements.
  void SetConnection(TCRConnection*) override {}
  void SetSQL(const AnsiString&) override {}
  bool ExecuteNoRows() override { return true; }
  const std::vector<std::unique_ptr<TCRTableInfo>>& TablesInfo() const override { return tables_; }

 protected:
  void ExecuteCommand() override { next_ = 0; }
  void CreateFieldDescs() override {
    addField(*this, "id", dcInteger);
    addField(*this, "tm", dcHeapString);
    addField(*this, "zz", dcString, 8);
    if (extraFields) extraFields(*this);
  }
  bool ReadRow(std::byte* record) override {
    if (next_ >= rows_) return false;
    if (next_ == failAtRow) throw Exception("disk gone");
    ++reads;
    const std::size_t index = static_cast<std::size_t>(next_++);
    const std::int32_t id = order.empty() ? static_cast<std::int32_t>(index + 1) : order[index];
    PutValue(1, record, id);
    PutValue(2, record, titles.empty() ? AnsiString("title " + std::to_string(id)) : titles[static_cast<std::size_t>(id - 1)]);
    PutValue(3, record, AnsiString(id % 2 ? "odd" : "even"));
    if (fill) fill(*this, record, id);
    return true;
  }

 private:
  int rows_;
  int next_ = 0;
  std::vector<std::unique_ptr<TCRTableInfo>> tables_;
};

// The id of the current record.
inline std::int32_t idOf(TMemData& data) {
  TRecordBytes buffer = data.AllocRecBuf();
  data.GetRecord(buffer.data());
  return std::get<std::int32_t>(data.GetValue(1, buffer.data()));
}

// The ids from the first record to the last, as a walk with GetNextRecord sees them.
inline std::vector<std::int32_t> walkIds(TMemData& data) {
  std::vector<std::int32_t> ids;
  data.SetToBegin();
  while (data.GetNextRecord()) ids.push_back(idOf(data));
  return ids;
}
