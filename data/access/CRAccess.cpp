#include "data/access/CRAccess.h"

bool TCRConnection::SetProp(int prop, const TPropValue& value) {
  switch (prop) {
    case prDisconnectedMode: disconnectedMode_ = std::get<bool>(value); return true;
    case prEnableBCD: enableBCD_ = std::get<bool>(value); return true;
    case prEnableFMTBCD: enableFMTBCD_ = std::get<bool>(value); return true;
    default: return TCRPropsObject::SetProp(prop, value);
  }
}

bool TCRConnection::GetProp(int prop, TPropValue& value) const {
  switch (prop) {
    case prDisconnectedMode: value = disconnectedMode_; return true;
    case prEnableBCD: value = enableBCD_; return true;
    case prEnableFMTBCD: value = enableFMTBCD_; return true;
    default: return TCRPropsObject::GetProp(prop, value);
  }
}

bool TCRConnection::ErrorHookFails(EDAError& error) const {
  bool fail = true;
  if (onError_) onError_(error, fail);
  return fail;
}
