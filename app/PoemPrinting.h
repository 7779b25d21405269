#pragma once
// The shown poem on paper and as a picture.
//
// On paper: one poem a document, in the view's font family at 14 points with margins of 20 mm:
// the title, the author after the dynasty, and the source, then the poem, set across in rows
// (THorizontalLayout) or down in columns from the right (TVerticalLayout), with the syllables
// when the sheet has them; a poem longer than a page goes on over as many pages as it needs.
// Works with any paged device: QPdfWriter, QPrinter printing or writing a PDF.
//
// As a picture: the title, the author after the dynasty and the poem, set as the view shows them,
// on the paper colour with a margin all round.

#include <QColor>
#include <QImage>

#include "app/PoemSheet.h"

class QFont;
class QPagedPaintDevice;

// False when the device cannot be painted on (a file that cannot be written).
bool PrintPoem(QPagedPaintDevice& device, const TPoemSheet& sheet, bool vertical, const QFont& viewFont);

// The picture at `scale` pixels to one of the view's (its device pixel ratio): twice the screen's
// ratio gives a picture that stays sharp when enlarged. A picture's columns are as tall as its
// longest line, but never taller than 24 characters; its rows as wide as its longest line, but
// never wider than 40. A poem of more columns than 60 characters' width takes bands of columns,
// one below the other. A picture of more than 64 million pixels is made at a smaller scale, down
// to 1; null when even that is too large to be made.
QImage RenderPoemImage(const TPoemSheet& sheet, bool vertical, const QFont& viewFont, const QColor& paper, qreal scale);

// The picture's margin around the poem, in the view's pixels.
int PoemImageMargin(const QFont& viewFont);
