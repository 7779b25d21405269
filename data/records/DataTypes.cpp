#include "data/records/DataTypes.h"

int DataTypeSize(std::uint16_t code, int length) {
  switch (code) {
    case dcString:
    case dcGuid: return length + 1;
    case dcInt8: return 1;
    case dcSmallint:
    case dcWord:
    case dcBoolean: return 2;
    case dcInteger:
    case dcUInt32:
    case dcBlob:
    case dcMemo:
    case dcWideMemo:
    case dcReference:
    case dcTable:
    case dcVariant:
    case dcHeapString:
    case dcHeapVarBytes:
    case dcHeapWideString:
    case dcCursor: return 4;
    case dcFloat:
    case dcDate:
    case dcTime:
    case dcDateTime:
    case dcLargeint:
    case dcCurrency:
    case dcBCD: return 8;
    case dcBytes: return length;
    case dcVarBytes: return length + 2;
    case dcWideString: return length * 2 + 2;
    case dcFMTBCD: return 34;
    case dcSQLTimeStamp: return 16;
    default: return 0;
  }
}

TFieldType TDataTypesMap::GetFieldType(std::uint16_t code) {
  switch (code) {
    case dcString:
    case dcHeapString: return ftString;
    case dcInt8:
    case dcSmallint: return ftSmallint;
    case dcInteger: return ftInteger;
    case dcFloat: return ftFloat;
    case dcDate: return ftDate;
    case dcTime: return ftTime;
    case dcDateTime: return ftDateTime;
    case dcWord: return ftWord;
    case dcBoolean: return ftBoolean;
    case dcLargeint:
    case dcUInt32: return ftLargeint;
    case dcCurrency: return ftCurrency;
    case dcBlob: return ftBlob;
    case dcMemo:
    case dcWideMemo: return ftMemo;
    case dcObject: return ftADT;
    case dcReference: return ftReference;
    case dcArray: return ftArray;
    case dcTable: return ftDataSet;
    case dcVariant: return ftVariant;
    case dcBytes: return ftBytes;
    case dcVarBytes:
    case dcHeapVarBytes: return ftVarBytes;
    case dcWideString:
    case dcHeapWideString: return ftWideString;
    case dcBCD: return ftBCD;
    case dcFMTBCD: return ftFMTBcd;
    case dcGuid: return ftGuid;
    case dcCursor: return ftCursor;
    default: return ftUnknown;
  }
}

std::uint16_t TDataTypesMap::GetDataType(TFieldType fieldType) {
  switch (fieldType) {
    case ftString:
    case ftFixedChar: return dcString;
    case ftSmallint: return dcSmallint;
    case ftInteger:
    case ftAutoInc: return dcInteger;
    case ftWord: return dcWord;
    case ftBoolean: return dcBoolean;
    case ftFloat: return dcFloat;
    case ftCurrency: return dcCurrency;
    case ftBCD: return dcBCD;
    case ftDate: return dcDate;
    case ftTime: return dcTime;
    case ftDateTime: return dcDateTime;
    case ftBytes: return dcBytes;
    case ftVarBytes: return dcVarBytes;
    case ftBlob: return dcBlob;
    case ftMemo: return dcMemo;
    case ftCursor: return dcCursor;
    case ftWideString: return dcWideString;
    case ftLargeint: return dcLargeint;
    case ftADT: return dcObject;
    case ftArray: return dcArray;
    case ftReference: return dcReference;
    case ftDataSet: return dcTable;
    case ftVariant: return dcVariant;
    case ftGuid: return dcGuid;
    case ftFMTBcd: return dcFMTBCD;
    default: return dcUnknown;
  }
}
