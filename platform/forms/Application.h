#pragma once
// The application object: title, executable path, the message loop, the hook that sees
// every event before it is dispatched, and the default handler of escaped exceptions.

#include <exception>
#include <functional>
#include <vector>

#include <QApplication>

#include "platform/text/AnsiText.h"

// Called for every event before it reaches its receiver; setting `handled` stops it there.
using TMessageEvent = std::function<void(QObject* receiver, QEvent* event, bool& handled)>;

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& title);
  AnsiString ExeName() const;

  int Run() { return exec(); }

  // Shows `error` in the error box captioned with the title. EAbort shows nothing.
  void ShowException(const std::exception& error);

  // Every application-event component adds its own hook; the token removes it again.
  int AddMessageHook(TMessageEvent hook);
  void RemoveMessageHook(int token);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  AnsiString title_;
  std::vector<std::pair<int, TMessageEvent>> hooks_;
  int nextToken_ = 1;
};

// The one application object, while it exists.
extern TApplication* Application;
