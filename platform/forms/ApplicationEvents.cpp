#include "platform/forms/ApplicationEvents.h"

TApplicationEvents::TApplicationEvents(TComponent* owner) : TComponent(owner) {
  if (Application)
    token_ = Application->AddMessageHook([this](QObject* receiver, QEvent* event, bool& handled) {
      if (OnMessage) OnMessage(receiver, event, handled);
    });
}

TApplicationEvents::~TApplicationEvents() {
  if (Application && token_) Application->RemoveMessageHook(token_);
}
