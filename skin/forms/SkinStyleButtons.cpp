// Push and tool buttons from the "Buttons" bitmap (0 normal, 1 hot, 2 pressed, 3 disabled,
// 4 default or focused), the check and radio marks from its CheckButton and RadioButton bitmaps
// (0–3 unchecked normal, hot, pressed, disabled; 4–7 the same checked), header sections as
// buttons.

#include <QPainter>
#include <QStyleOption>

#include "skin/forms/SkinStyleDraw.h"

namespace skinstyle {

namespace {

int buttonFrame(QStyle::State state, bool isDefault) {
  if (!(state & QStyle::State_Enabled)) return 3;
  if (state & (QStyle::State_Sunken | QStyle::State_On)) return 2;
  if (state & QStyle::State_MouseOver) return 1;
  if (isDefault || (state & QStyle::State_HasFocus)) return 4;
  return 0;
}

bool isDefault(const QStyleOption* option) {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  return button && (button->features & QStyleOptionButton::DefaultButton);
}

}  // namespace

bool DrawButtonPanel(const TSkinStyle& style, const QStyleOption* option, QPainter* painter) {
  return Paint(style, painter, option->rect, "Buttons", buttonFrame(option->state, isDefault(option)));
}

bool DrawPushButtonBevel(const TSkinStyle& style, const QStyleOption* option, QPainter* painter,
                         const QWidget* widget) {
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
  if (!button || !style.Picture("Buttons")) return false;
  // A flat button shows its face only while it is hot or pressed.
  const bool flat = button->features & QStyleOptionButton::Flat;
  const bool shown = button->state & (QStyle::State_Sunken | QStyle::State_On | QStyle::State_MouseOver);
  if (!flat || (shown && (button->state & QStyle::State_Enabled))) DrawButtonPanel(style, button, painter);
  if (button->features & QStyleOptionButton::HasMenu) {
    const int size = style.pixelMetric(QStyle::PM_MenuButtonIndicator, button, widget);
    QStyleOptionButton arrow = *button;
    arrow.rect = QRect(button->rect.right() - size + 2, button->rect.center().y() - size / 2 + 3, size - 6, size - 6);
    arrow.rect = QStyle::visualRect(button->direction, button->rect, arrow.rect);
    style.drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, widget);
  }
  return true;
}

bool DrawToolButton(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                    const QWidget* widget) {
  const auto* tool = qstyleoption_cast<const QStyleOptionToolButton*>(option);
  if (!tool || !style.Picture("Buttons")) return false;
  if (tool->subControls & QStyle::SC_ToolButton) {
    QStyle::State state = tool->state & ~QStyle::State_Sunken;
    if (tool->activeSubControls & QStyle::SC_ToolButton) state |= tool->state & QStyle::State_Sunken;
    const bool flat = state & QStyle::State_AutoRaise;
    const bool shown = (state & (QStyle::State_Sunken | QStyle::State_On)) ||
                       ((state & QStyle::State_MouseOver) && (state & QStyle::State_Enabled));
    if (!flat || shown) {
      const QRect face = style.subControlRect(QStyle::CC_ToolButton, tool, QStyle::SC_ToolButton, widget);
      Paint(style, painter, face, "Buttons", buttonFrame(state, false));
    }
  }
  // The platform draws the label and the menu part on the skinned face.
  QStyleOptionToolButton rest = *tool;
  rest.subControls &= ~QStyle::SC_ToolButton;
  style.QProxyStyle::drawComplexControl(QStyle::CC_ToolButton, &rest, painter, widget);
  return true;
}

bool DrawMark(const TSkinStyle& style, QStyle::PrimitiveElement element, const QStyleOption* option,
              QPainter* painter) {
  const QStyle::State state = option->state;
  int frame = state & (QStyle::State_On | QStyle::State_NoChange) ? 4 : 0;
  if (!(state & QStyle::State_Enabled)) frame += 3;
  else if (state & QStyle::State_Sunken) frame += 2;
  else if (state & QStyle::State_MouseOver) frame += 1;
  const char* name = element == QStyle::PE_IndicatorRadioButton ? "Buttons.RadioButton" : "Buttons.CheckButton";
  return Paint(style, painter, option->rect, name, frame);
}

bool DrawHeaderSection(const TSkinStyle& style, const QStyleOption* option, QPainter* painter) {
  return Paint(style, painter, option->rect, "Buttons", PartFrame(option->state, true));
}

}  // namespace skinstyle
