#include "app/FocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

const QColor FocusMark::kColour(224, 128, 0);

FocusMark::FocusMark(QWidget* window) : QObject(window), window_(window) {
  setObjectName(QStringLiteral("FocusMark"));
  for (QWidget*& strip : strips_) {
    strip = new QWidget(window);
    strip->setObjectName(QStringLiteral("FocusMarkStrip"));
    strip->setAttribute(Qt::WA_TransparentForMouseEvents);
    strip->setFocusPolicy(Qt::NoFocus);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, kColour);
    strip->setPalette(palette);
    strip->hide();
  }
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
  follow(QApplication::focusWidget());
}

void FocusMark::follow(QWidget* focused) {
  QWidget* control = focused && focused != window_ && focused->window() == window_ ? focused : nullptr;
  if (control != marked_) {
    if (marked_) watch(marked_, false);
    marked_ = control;
    if (marked_) watch(marked_, true);
  }
  place();
}

// The control and every box around it: any of them moving or being hidden moves the frame.
void FocusMark::watch(QWidget* control, bool on) {
  for (QWidget* w = control; w; w = w == window_ ? nullptr : w->parentWidget()) {
    if (on)
      w->installEventFilter(this);
    else
      w->removeEventFilter(this);
  }
}

void FocusMark::place() {
  if (!marked_ || !marked_->isVisibleTo(window_)) {
    for (QWidget* strip : strips_) strip->hide();
    return;
  }
  const QRect inner(marked_->mapTo(window_, QPoint(0, 0)), marked_->size());
  const QRect outer = inner.adjusted(-kWidth, -kWidth, kWidth, kWidth);
  strips_[0]->setGeometry(outer.left(), outer.top(), outer.width(), kWidth);
  strips_[1]->setGeometry(outer.left(), inner.bottom() + 1, outer.width(), kWidth);
  strips_[2]->setGeometry(outer.left(), inner.top(), kWidth, inner.height());
  strips_[3]->setGeometry(inner.right() + 1, inner.top(), kWidth, inner.height());
  for (QWidget* strip : strips_) {
    strip->show();
    strip->raise();
  }
}

bool FocusMark::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      place();
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}
