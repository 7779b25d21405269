#pragma once
// The drawing TSkinStyle hands out by control, one file per family. Each answers false when the
// skin lacks what it draws with, and the style then lets the platform's style draw.

#include <string_view>

#include <QStyle>

#include "skin/forms/SkinPicture.h"
#include "skin/forms/SkinStyle.h"

class QPainter;
class QStyleOption;
class QStyleOptionComplex;
class QWidget;

namespace skinstyle {

// Paints frame `index` of the picture `name` into `rect`; false when the skin lacks it.
inline bool Paint(const TSkinStyle& style, QPainter* painter, const QRect& rect, std::string_view name, int index) {
  const TSkinPicture* picture = style.Picture(name);
  if (!picture) return false;
  DrawSkinPicture(*painter, rect, *picture, index);
  return true;
}

// Frames 0 normal, 1 hot, 2 pressed of a part that `option` shows as active or not.
inline int PartFrame(QStyle::State state, bool active) {
  if (!active || !(state & QStyle::State_Enabled)) return 0;
  if (state & QStyle::State_Sunken) return 2;
  return state & QStyle::State_MouseOver ? 1 : 0;
}

// SkinStyleButtons.cpp: push and tool buttons, check and radio marks, header sections.
bool DrawButtonPanel(const TSkinStyle& style, const QStyleOption* option, QPainter* painter);
bool DrawPushButtonBevel(const TSkinStyle& style, const QStyleOption* option, QPainter* painter, const QWidget* widget);
bool DrawToolButton(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                    const QWidget* widget);
bool DrawMark(const TSkinStyle& style, QStyle::PrimitiveElement element, const QStyleOption* option,
              QPainter* painter);
bool DrawHeaderSection(const TSkinStyle& style, const QStyleOption* option, QPainter* painter);

// SkinStyleFields.cpp: the sunken frame of edits and lists, drop-down lists, spin boxes.
bool DrawSunkEdge(const TSkinStyle& style, QStyle::PrimitiveElement element, const QStyleOption* option,
                  QPainter* painter, const QWidget* widget);
bool DrawComboBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget);
// A null rectangle when the skin leaves the layout to the platform.
QRect ComboBoxRect(const TSkinStyle& style, const QStyleOptionComplex* option, QStyle::SubControl sub);
bool DrawSpinBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget);

// SkinStylePanels.cpp: group boxes, tabs and their pane, popup menus.
bool DrawGroupBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget);
bool DrawTabShape(const TSkinStyle& style, const QStyleOption* option, QPainter* painter, const QWidget* widget);
bool DrawMenuItem(const TSkinStyle& style, const QStyleOption* option, QPainter* painter, const QWidget* widget);

// SkinStyleBars.cpp: scroll bars, progress bars, track bars.
bool DrawScrollBar(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                   const QWidget* widget);
bool DrawProgressContents(const TSkinStyle& style, const QStyleOption* option, QPainter* painter);
bool DrawSlider(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget);

}  // namespace skinstyle
