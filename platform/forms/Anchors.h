#pragma once
// Anchored placement: a control keeps the distance of its anchored edges to its parent's
// edges when the parent is resized, as the window descriptions lay controls out.

#include <QObject>
#include <QRect>
#include <QWidget>

enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// Anchors `widget` within its parent, keeping its current place as the design place. The
// design size of the parent is its size now.
void SetAnchors(QWidget* widget, unsigned anchors);
