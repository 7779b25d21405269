#include "platform/forms/Form.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>

namespace {

// Remembers which of the application's windows was active before the one being activated now.
// Another program taking the focus does not count: when the person comes back, the window that
// gets activation again finds itself as its predecessor and knows nothing inside the
// application handed activation to it.
class ActivationHistory : public QObject {
 public:
  explicit ActivationHistory(QObject* parent) : QObject(parent) {}

  static ActivationHistory& Instance() {
    static QPointer<ActivationHistory> instance;
    if (!instance) {
      instance = new ActivationHistory(qApp);
      qApp->installEventFilter(instance);
    }
    return *instance;
  }

  QWidget* Previous() const { return previous_; }

 protected:
  // Application filters see the event before the window does.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      previous_ = current_;
      current_ = static_cast<QWidget*>(watched);
    }
    return false;
  }

 private:
  QPointer<QWidget> previous_, current_;
};

}  // namespace

TForm::TForm(const AnsiString& name, QWidget* parent) : QWidget(parent), components_(nullptr) {
  ActivationHistory::Instance();
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
    case QEvent::WindowActivate:
      if (ActivationHistory::Instance().Previous() != this) FormActivate();
      break;
    case QEvent::Hide:
      if (modalLoop_ && !isVisible()) modalLoop_->quit();
      break;
    default: break;
  }
  return result;
}
