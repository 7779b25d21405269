#pragma once
// The whole Qt-free class library, for code that uses most of it.

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Events.h"
#include "platform/classes/Exceptions.h"
#include "platform/classes/Persistent.h"
#include "platform/classes/Strings.h"
