#pragma once
// A text view that lets its owner paint over the text once the view has painted it: marks that
// are not part of the text (so selecting, copying and finding never meet them) but move with it.

#include <functional>

#include <QPaintEvent>
#include <QPainter>
#include <QTextEdit>

class TOverlaidTextEdit : public QTextEdit {
 public:
  using QTextEdit::QTextEdit;

  // Called with a painter on the viewport, clipped to the part being painted.
  std::function<void(QPainter&)> OnPaintOver;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QTextEdit::paintEvent(event);
    if (!OnPaintOver) return;
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    OnPaintOver(painter);
  }
};
