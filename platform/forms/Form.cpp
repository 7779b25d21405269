#include "platform/forms/Form.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

TForm::TForm(const AnsiString& name, QWidget* parent) : QWidget(parent), components_(nullptr) {
  setObjectName(QString::fromLatin1(name.c_str()));
  components_.SetName(name);
  components_.BeginLoading();
}

TForm::~TForm() {
  if (modalLoop_) modalLoop_->quit();
}

int TForm::ShowModal() {
  // The window that was active gets activation back when this one closes, as its owner.
  QPointer<QWidget> previous = QApplication::activeWindow();
  modalResult_ = mrNone;
  setWindowModality(Qt::ApplicationModal);
  show();
  activateWindow();
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec();
  modalLoop_ = nullptr;
  setWindowModality(Qt::NonModal);
  if (previous && previous != this) previous->activateWindow();
  if (modalResult_ == mrNone) modalResult_ = mrCancel;
  return modalResult_;
}

bool TForm::event(QEvent* event) {
  const bool result = QWidget::event(event);
  switch (event->type()) {
    case QEvent::WindowActivate: FormActivate(); break;
    case QEvent::Hide:
      if (modalLoop_ && !isVisible()) modalLoop_->quit();
      break;
    default: break;
  }
  return result;
}
