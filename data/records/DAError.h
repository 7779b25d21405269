#pragma once
// The data layer's database error: a result code, a message and the component it concerns.

#include <memory>

#include "platform/classes/Exceptions.h"

class TComponent;

class EDAError : public EDatabaseError {
 public:
  EDAError(int errorCode, AnsiString message) : EDatabaseError(std::move(message)), errorCode_(errorCode) {}

  int ErrorCode() const { return errorCode_; }
  TComponent* Component() const { return component_; }
  void SetComponent(TComponent* component) { component_ = component; }

  // The error ends the connection.
  virtual bool IsFatal() const { return false; }
  virtual bool IsConstraintViolation() const { return false; }

  // A copy of the same dynamic type, so that a wrapper can keep the original error.
  virtual std::shared_ptr<EDAError> Clone() const { return std::make_shared<EDAError>(*this); }

 private:
  int errorCode_;
  TComponent* component_ = nullptr;
};
