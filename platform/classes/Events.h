#pragma once
// Event handler types. An unassigned handler is empty and is skipped.

#include <functional>

class TObject;

using TNotifyEvent = std::function<void(TObject& sender)>;
