#pragma once
// How a column's declared SQLite type becomes a data type code, length and scale.

#include <cstdint>

#include "platform/text/AnsiText.h"

struct TLiteColumnType {
  std::uint16_t DataType;
  int Length;
  int Scale;
};

// `declared` is the declared type as SQLite reports it (any case). Types such as NUMERIC
// become BCD values only when the connection or command asks for them. A length or scale
// that is not a whole number from 1 to 65535 counts as none.
TLiteColumnType MapDeclaredType(const AnsiString& declared, bool enableBCD, bool enableFMTBCD);

// The record-buffer promotions of text and byte columns: long text to the heap or a memo,
// long byte strings to the heap or a blob; `inlineStrings` keeps strings in the record.
void PromoteColumnType(TLiteColumnType& type, bool longStrings, bool inlineStrings);
