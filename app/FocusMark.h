#pragma once
// A frame around whichever control of a window has the keyboard focus, so that someone who
// works without a mouse always sees where the keys go. It is drawn by the window itself, not by
// the control's style: the skin draws controls from its pictures, which need not show focus.

#include <QColor>
#include <QObject>
#include <QPointer>

#include <array>

class QWidget;

class FocusMark : public QObject {
 public:
  // The frame's colour: amber, clear on the skin's indigo and on its paper alike.
  static const QColor kColour;
  // Its width, drawn just outside the control.
  static constexpr int kWidth = 2;

  explicit FocusMark(QWidget* window);

  // The control the frame surrounds, or null when it is hidden.
  QWidget* Marked() const { return marked_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void follow(QWidget* focused);
  void place();
  void watch(QWidget* control, bool on);
  QWidget* window_;
  QPointer<QWidget> marked_;
  // Four strips rather than one frame widget: the control beneath stays uncovered, and its
  // repaints never repaint the frame.
  std::array<QWidget*, 4> strips_{};
};
