// Group boxes from "GroupBox" (the frame) and "GroupBoxEdge" (behind the title); the tabs of a
// page control from "Tabs" (0 normal, 1 hot, 2 selected), or from "Buttons" for a bar of button
// tabs; a popup menu's highlighted item from "MenuItem".

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include "skin/forms/SkinStyleDraw.h"

namespace skinstyle {

bool DrawGroupBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                  const QWidget* widget) {
  const auto* group = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (!group || !style.Picture("GroupBox")) return false;
  auto rect = [&](QStyle::SubControl sub) { return style.subControlRect(QStyle::CC_GroupBox, group, sub, widget); };
  if (group->subControls & QStyle::SC_GroupBoxFrame)
    Paint(style, painter, rect(QStyle::SC_GroupBoxFrame), "GroupBox", 0);

  const bool hasText = (group->subControls & QStyle::SC_GroupBoxLabel) && !group->text.isEmpty();
  const bool hasCheck = group->subControls & QStyle::SC_GroupBoxCheckBox;
  const QRect label = rect(QStyle::SC_GroupBoxLabel);
  const QRect check = rect(QStyle::SC_GroupBoxCheckBox);
  if (hasText || hasCheck) {
    // The title stands on its own background, which breaks the frame's top edge.
    QRect title = hasText ? label : QRect();
    if (hasCheck) title |= check;
    title = title.adjusted(-2, 0, 2, 0) & group->rect;
    if (!Paint(style, painter, title, "GroupBoxEdge", 0)) painter->fillRect(title, group->palette.window());
  }
  if (hasText) {
    const QColor colour = group->textColor;
    painter->save();
    if (colour.isValid()) painter->setPen(colour);
    int alignment = Qt::TextShowMnemonic | Qt::AlignHCenter | int(group->textAlignment);
    if (!style.styleHint(QStyle::SH_UnderlineShortcut, group, widget)) alignment |= Qt::TextHideMnemonic;
    style.drawItemText(painter, label, alignment, group->palette, group->state & QStyle::State_Enabled, group->text,
                       colour.isValid() ? QPalette::NoRole : QPalette::WindowText);
    painter->restore();
    if (group->state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(*group);
      focus.rect = label;
      style.drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
  }
  if (hasCheck) {
    QStyleOptionButton box;
    box.QStyleOption::operator=(*group);
    box.rect = check;
    style.drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);
  }
  return true;
}

bool DrawTabShape(const TSkinStyle& style, const QStyleOption* option, QPainter* painter, const QWidget* widget) {
  const QStyle::State s = option->state;
  const bool hot = (s & QStyle::State_MouseOver) && (s & QStyle::State_Enabled);
  const int frame = s & QStyle::State_Selected ? 2 : hot ? 1 : 0;
  const bool buttons = widget && widget->property(kSkinTabButtonsProperty).toBool();
  return Paint(style, painter, option->rect, buttons ? "Buttons" : "Tabs", frame);
}

bool DrawMenuItem(const TSkinStyle& style, const QStyleOption* option, QPainter* painter, const QWidget* widget) {
  const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (!item || item->menuItemType == QStyleOptionMenuItem::Separator) return false;
  const bool selected = (item->state & QStyle::State_Selected) && (item->state & QStyle::State_Enabled);
  if (!selected || !Paint(style, painter, item->rect, "MenuItem", 0)) return false;
  // The platform writes the item on the skin's highlight, in the selection's text colour.
  QStyleOptionMenuItem plain = *item;
  plain.state &= ~QStyle::State_Selected;
  const QColor text = item->palette.color(QPalette::HighlightedText);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    plain.palette.setColor(role, text);
  style.QProxyStyle::drawControl(QStyle::CE_MenuItem, &plain, painter, widget);
  return true;
}

}  // namespace skinstyle
