#include "skin/forms/SkinMessages.h"

#include <QCoreApplication>

std::intptr_t SendSkinMessage(QObject* receiver, int id, std::intptr_t wParam, std::intptr_t lParam) {
  TSkinMessage message(id, wParam, lParam);
  QCoreApplication::sendEvent(receiver, &message);
  return message.Result;
}
