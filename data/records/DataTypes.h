#pragma once
// The data type codes of field descriptors: how each value is held in a record, and which
// framework field type stands for it.

#include <cstdint>

#include "platform/db/FieldTypes.h"

enum TDataTypeCode : std::uint16_t {
  dcUnknown = 0,
  dcString = 1,
  dcInt8 = 2,
  dcSmallint = 3,
  dcInteger = 4,
  dcFloat = 5,
  dcDate = 6,
  dcTime = 7,
  dcDateTime = 8,
  dcWord = 9,
  dcBoolean = 10,
  dcLargeint = 11,
  dcCurrency = 12,
  dcBlob = 13,
  dcMemo = 14,
  dcObject = 15,
  dcReference = 16,
  dcArray = 17,
  dcTable = 18,
  dcVariant = 19,
  dcHeapString = 20,
  dcBytes = 21,
  dcVarBytes = 22,
  dcHeapVarBytes = 23,
  dcUInt32 = 24,
  dcWideString = 25,
  dcHeapWideString = 26,
  dcBCD = 27,
  dcFMTBCD = 28,
  dcGuid = 29,
  dcWideMemo = 30,
  dcSQLTimeStamp = 31,
  dcCursor = 32,
};

constexpr bool IsBlobDataType(std::uint16_t code) { return code == dcBlob || code == dcMemo || code == dcWideMemo; }

// Codes whose value is an object or heap piece owned by the record.
constexpr bool IsComplexDataType(std::uint16_t code) {
  return IsBlobDataType(code) || code == dcVariant || code == dcHeapString || code == dcHeapVarBytes ||
         code == dcHeapWideString;
}

// Bytes a value of `code` takes in a record, for a declared `length`.
int DataTypeSize(std::uint16_t code, int length);

class TDataTypesMap {
 public:
  static TFieldType GetFieldType(std::uint16_t code);
  static std::uint16_t GetDataType(TFieldType fieldType);
};
