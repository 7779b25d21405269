#include "platform/classes/Persistent.h"

#include "platform/classes/Exceptions.h"

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& destination) const {
  throw EConvertError(AnsiString("Cannot assign a ") + ClassName() + " to a " + destination.ClassName());
}
