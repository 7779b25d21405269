#include "app/PoemZoom.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "app/ReaderConfig.h"

namespace {

const QString kObjectName = QStringLiteral("PoemZoom");

constexpr long long kRangeSteps = (PoemZoom::kLargest - PoemZoom::kSmallest) / PoemZoom::kStep;

}  // namespace

int PoemZoom::Checked(int percent) {
  const int clamped = std::clamp(percent, kSmallest, kLargest);
  return kSmallest + (clamped - kSmallest + kStep / 2) / kStep * kStep;
}

PoemZoom::PoemZoom(QTextEdit* view, QWidget* window) : QObject(window), view_(view) {
  setObjectName(kObjectName);
  normalPixels_ = view->font().pixelSize() > 0 ? view->font().pixelSize() : view->fontInfo().pixelSize();
  view->viewport()->installEventFilter(this);
  const auto shortcut = [this, window](QKeyCombination keys, void (PoemZoom::*action)()) {
    new QShortcut(QKeySequence(keys), window, [this, action] { (this->*action)(); });
  };
  shortcut(Qt::CTRL | Qt::Key_Equal, &PoemZoom::ZoomIn);
  shortcut(Qt::CTRL | Qt::Key_Plus, &PoemZoom::ZoomIn);
  shortcut(Qt::CTRL | Qt::Key_Minus, &PoemZoom::ZoomOut);
  shortcut(Qt::CTRL | Qt::Key_0, &PoemZoom::Reset);
  if (const std::optional<int> kept = ReadSetting(kZoomSetting)) {
    percent_ = Checked(*kept);
    apply();
  }
}

void PoemZoom::SetPercent(int percent) {
  percent = Checked(percent);
  if (percent == percent_) return;
  percent_ = percent;
  apply();
  WriteSetting(kZoomSetting, percent_);
}

void PoemZoom::apply() {
  QFont font = view_->font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(normalPixels_ * percent_ / 100.0))));
  view_->setFont(font);
}

bool PoemZoom::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (!(wheel->modifiers() & Qt::ControlModifier)) {
    notches_.Reset();
    return false;
  }
  // A turn away from the reader enlarges, as in every other program. However far one event
  // says the wheel turned, it can at most cross the whole range.
  const int notches = notches_.Add(wheel->angleDelta().y(), kRangeSteps);
  if (notches != 0) SetPercent(percent_ + notches * kStep);
  return true;
}

PoemZoom* PoemZoomOf(const QWidget& window) {
  return dynamic_cast<PoemZoom*>(window.findChild<QObject*>(kObjectName, Qt::FindDirectChildrenOnly));
}
