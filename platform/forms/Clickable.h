#pragma once
// Controls that report a click of the left mouse button, as the window descriptions expect
// of labels and edits.

#include <functional>

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

template <class Base>
class TClickable : public Base {
 public:
  using Base::Base;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    Base::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && this->rect().contains(event->position().toPoint()) && OnClick) OnClick();
  }
};

using TClickLabel = TClickable<QLabel>;
using TClickEdit = TClickable<QLineEdit>;
