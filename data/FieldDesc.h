#pragma once
// Descriptions of the columns of a result, as the record buffer lays them out.

#include <cstdint>
#include <memory>
#include <vector>

#include "data/DataTypes.h"
#include "platform/text/AnsiText.h"

enum class TFieldDescKind : std::uint8_t { fdkData = 0, fdkHidden = 1, fdkCalculated = 2 };

class TFieldDesc {
 public:
  virtual ~TFieldDesc() = default;

  AnsiString Name;        // as the data set shows it, unique within the result
  AnsiString ActualName;  // the column's name in its source table
  std::uint16_t DataType = dcUnknown;
  std::uint16_t SubDataType = 0;
  std::uint16_t Length = 0;
  std::uint16_t Scale = 0;
  std::uint16_t FieldNo = 0;
  std::int16_t ActualFieldNo = 0;
  std::int32_t Size = 0;
  std::int32_t Offset = 0;
  bool Required = false;
  bool ReadOnly = false;
  bool Fixed = false;
  bool Hidden = false;
  bool HiddenObject = false;
  TFieldDesc* ParentField = nullptr;
  TFieldDescKind FieldDescKind = TFieldDescKind::fdkData;

  bool IsBlob() const { return IsBlobDataType(DataType); }
  bool IsComplex() const { return IsComplexDataType(DataType); }
};

// The table a column comes from.
struct TCRTableInfo {
  AnsiString TableName;
  AnsiString TableAlias;
  AnsiString FullName;
};

class TCRFieldDesc : public TFieldDesc {
 public:
  TCRTableInfo* TableInfo = nullptr;
};

class TFieldDescs {
 public:
  int Count() const { return static_cast<int>(descs_.size()); }
  // 0-based, in descriptor order.
  TFieldDesc& operator[](int index) const { return *descs_[static_cast<std::size_t>(index)]; }
  void Add(std::unique_ptr<TFieldDesc> desc);
  void Clear() { descs_.clear(); }

  // By name, ignoring case; a name with "." or "[" is matched against the source names.
  TFieldDesc* FindField(const AnsiString& name) const;
  // The same, raising "Field <name> not found".
  TFieldDesc& FieldByName(const AnsiString& name) const;

  // Renames clashing top-level descriptors: id, ID become id, ID_1; empty names become _0, _1 …
  void MakeNamesUnique();

 private:
  std::vector<std::unique_ptr<TFieldDesc>> descs_;
};
