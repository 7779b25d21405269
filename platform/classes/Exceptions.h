#pragma once
// The toolkit's exception classes. Messages are code page 936 text, as everything the
// program shows to the reader.

#include <exception>
#include <utility>

#include "platform/text/AnsiText.h"

class Exception : public std::exception {
public:
  explicit Exception(AnsiString message) : message_(std::move(message)) {}
  ~Exception() override = default;

  const AnsiString& Message() const noexcept { return message_; }
  void SetMessage(AnsiString message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

private:
  AnsiString message_;
};

// The silent exception: it unwinds the current operation and the application reports nothing.
class EAbort : public Exception {
public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

class EDatabaseError : public Exception {
public:
  using Exception::Exception;
};

class EListError : public Exception {
public:
  using Exception::Exception;
};

class EStringListError : public Exception {
public:
  using Exception::Exception;
};

class EComponentError : public Exception {
public:
  using Exception::Exception;
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};
