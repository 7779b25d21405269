#pragma once
// The size of the poem view's text: Ctrl+wheel over the view, and Ctrl+= (Ctrl++), Ctrl+- and
// Ctrl+0 anywhere in its window, from 50% to 300% in steps of 10%. The lists keep their fonts.
// The size is kept between runs in the reader's configuration file.

#include <QObject>

#include "platform/forms/WheelNotches.h"

class QTextEdit;
class QWidget;

class PoemZoom : public QObject {
 public:
  static constexpr int kSmallest = 50;
  static constexpr int kLargest = 300;
  static constexpr int kStep = 10;
  static constexpr int kNormal = 100;

  // Zooms `view`, whose font has its normal size now, starting at the size last kept.
  PoemZoom(QTextEdit* view, QWidget* window);

  int Percent() const { return percent_; }
  // Sets the size, taken to the nearest step within the bounds; kept when it changes.
  void SetPercent(int percent);
  void ZoomIn() { SetPercent(percent_ + kStep); }
  void ZoomOut() { SetPercent(percent_ - kStep); }
  void Reset() { SetPercent(kNormal); }

  // `percent` within the bounds and on a step.
  static int Checked(int percent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void apply();
  QTextEdit* view_;
  int normalPixels_;
  int percent_ = kNormal;
  TWheelNotches notches_;
};

// The zoom of the window's poem view, if it has one.
PoemZoom* PoemZoomOf(const QWidget& window);
