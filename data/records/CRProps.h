#pragma once
// What the record set shares with the provider's other objects: numbered properties set from
// option lines, and the parameters of a statement.

#include <cstdint>
#include <variant>

#include "platform/classes/Persistent.h"
#include "platform/db/FieldValue.h"
#include "platform/text/AnsiText.h"

using TPropValue = std::variant<bool, int, long long, AnsiString>;

// Property ids shared by the connection component, the providers and their options.
enum TPropId : int {
  prRowsProcessed = 13,
  prFetchAll = 22,
  prDisconnectedMode = 31,
  prDatabase = 38,
  prPort = 39,
  prEnableBCD = 41,
  prEnableFMTBCD = 42,
  prLastInsertId = 49,
  prExtendedFieldsInfo = 51,
  prUseUnicode = 1001,
  prClientLibrary = 1002,
  prEncryptionKey = 1004,
  prASCIIDataBase = 1005,
  prEnableSharedCache = 1006,
  prBusyTimeout = 1007,
  prReadUncommitted = 1008,
  prDefaultCollations = 1010,
  prDateFormat = 1011,
  prTimeFormat = 1012,
};

// A parameter of a statement: its name in the text, its data type code and its value.
struct TParamDesc {
  AnsiString Name;
  std::uint16_t DataType = 0;
  TFieldValue Value;  // empty: NULL
};

// Anything the provider's options can be applied to.
class TCRPropsObject : public TObject {
 public:
  // False when the object has no property `prop`.
  virtual bool SetProp(int, const TPropValue&) { return false; }
  virtual bool GetProp(int, TPropValue&) const { return false; }
};
