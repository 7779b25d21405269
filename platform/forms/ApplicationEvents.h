#pragma once
// A window's hook on the application's messages: OnMessage sees every event before it is
// dispatched, for as long as the component exists.

#include "platform/classes/Component.h"
#include "platform/forms/Application.h"

class TApplicationEvents : public TComponent {
 public:
  explicit TApplicationEvents(TComponent* owner);
  ~TApplicationEvents() override;
  const char* ClassName() const override { return "TApplicationEvents"; }

  TMessageEvent OnMessage;

 private:
  int token_ = 0;
};
