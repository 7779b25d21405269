#pragma once
// A window built from its description: controls are Qt widgets named after the description,
// non-visual components are owned by the window's component root. Activation and modal
// showing work as the program's handlers expect.

#include <QEventLoop>
#include <QWidget>

#include "platform/classes/Component.h"
#include "platform/forms/Dialogs.h"

class TForm : public QWidget {
 public:
  explicit TForm(const AnsiString& name, QWidget* parent = nullptr);
  ~TForm() override;

  // Owner of the window's non-visual components.
  TComponent& Components() { return components_; }

  // A control or a component of this window, by its name; null when there is none.
  template <class T>
  T* FindChild(const AnsiString& name) {
    if (auto* component = components_.FindChild<T>(name)) return component;
    if constexpr (std::is_base_of_v<QObject, T>) return findChild<T*>(QString::fromLatin1(name.c_str()));
    return nullptr;
  }

  // Shows the window modally and returns once it closes.
  int ShowModal();
  void Close() { close(); }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }

 protected:
  // Called when the window becomes the application's active window: when it is first shown,
  // and when another window of the application closes or hands activation back; not when the
  // application as a whole regains the focus from another program.
  virtual void FormActivate() {}

  // The description has been read: components end loading in their stored order.
  void FinishLoading() { components_.EndLoading(); }

  bool event(QEvent* event) override;

 private:
  TComponent components_;
  QEventLoop* modalLoop_ = nullptr;
  int modalResult_ = mrNone;
};

// Sets `widget`'s name and its place in design coordinates.
template <class W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}
