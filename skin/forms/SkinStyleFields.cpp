// The "SunkEdge" frame (0 normal, 1 focused) of edits, drop-down lists, list boxes and text
// views; the drop-down arrow from "ComboButton" (0 normal, 1 hot, 2 pressed, 3 disabled); the
// spin buttons from "UpDown.Vert" (0 normal, 1 hot, 2 pressed) with the platform's arrows.

#include <algorithm>

#include <QAbstractScrollArea>
#include <QPainter>
#include <QStyleOption>

#include "skin/forms/SkinStyleDraw.h"

namespace skinstyle {

namespace {

int edgeFrame(const QStyleOption* option) { return option->state & QStyle::State_HasFocus ? 1 : 0; }

// The border the sunken frame takes inside a drop-down list; a broad edge of a damaged skin
// still leaves the field its room.
QMargins edgeOf(const TSkinPicture* edge) {
  if (!edge) return {2, 2, 2, 2};
  auto side = [](int width) { return std::clamp(width, 0, 6); };
  return {side(edge->LeftWidth), side(edge->TopHeight), side(edge->RightWidth), side(edge->BottomHeight)};
}

}  // namespace

bool DrawSunkEdge(const TSkinStyle& style, QStyle::PrimitiveElement element, const QStyleOption* option,
                  QPainter* painter, const QWidget* widget) {
  if (element == QStyle::PE_Frame && !qobject_cast<const QAbstractScrollArea*>(widget)) return false;
  if (element == QStyle::PE_PanelLineEdit) {
    // An edit without a frame (inside a spin box or an editable list) is only its field.
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (!frame || frame->lineWidth <= 0) return false;
  }
  return Paint(style, painter, option->rect, "SunkEdge", edgeFrame(option));
}

QRect ComboBoxRect(const TSkinStyle& style, const QStyleOptionComplex* option, QStyle::SubControl sub) {
  const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
  const TSkinPicture* button = style.Picture("ComboButton");
  if (!combo || !button) return {};
  const QRect inner = combo->frame ? combo->rect.marginsRemoved(edgeOf(style.Picture("SunkEdge"))) : combo->rect;
  const int width = std::clamp(button->FrameWidth(), 1, std::max(1, inner.width() / 2));
  const QRect arrow(inner.right() - width + 1, inner.top(), width, inner.height());
  switch (sub) {
    case QStyle::SC_ComboBoxArrow: return QStyle::visualRect(combo->direction, combo->rect, arrow);
    case QStyle::SC_ComboBoxEditField: {
      const QRect field(inner.left() + 2, inner.top(), std::max(0, inner.width() - width - 2), inner.height());
      return QStyle::visualRect(combo->direction, combo->rect, field);
    }
    case QStyle::SC_ComboBoxFrame: return combo->rect;
    default: return {};
  }
}

bool DrawComboBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                  const QWidget* widget) {
  const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
  const bool edge = style.Picture("SunkEdge") != nullptr;
  const bool button = style.Picture("ComboButton") != nullptr;
  if (!combo || (!edge && !button)) return false;
  if (edge && combo->frame) Paint(style, painter, combo->rect, "SunkEdge", edgeFrame(combo));
  else style.QProxyStyle::drawComplexControl(QStyle::CC_ComboBox, combo, painter, widget);

  if (!(combo->subControls & QStyle::SC_ComboBoxArrow)) return true;
  const QRect arrow = style.subControlRect(QStyle::CC_ComboBox, combo, QStyle::SC_ComboBoxArrow, widget);
  if (button) {
    const QStyle::State s = combo->state;
    const bool pressed = (s & QStyle::State_On) ||
                         ((s & QStyle::State_Sunken) && (combo->activeSubControls & QStyle::SC_ComboBoxArrow));
    const int frame = !(s & QStyle::State_Enabled) ? 3 : pressed ? 2 : (s & QStyle::State_MouseOver) ? 1 : 0;
    Paint(style, painter, arrow, "ComboButton", frame);
  } else if (combo->frame) {
    QStyleOption glyph = *combo;
    glyph.rect = arrow;
    style.drawPrimitive(QStyle::PE_IndicatorArrowDown, &glyph, painter, widget);
  }
  return true;
}

bool DrawSpinBox(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget) {
  const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option);
  const bool edge = style.Picture("SunkEdge") != nullptr;
  const bool buttons = style.Picture("UpDown.Vert") != nullptr;
  if (!spin || (!edge && !buttons)) return false;
  const bool ownButtons = buttons && spin->buttonSymbols != QAbstractSpinBox::NoButtons;
  if (edge && spin->frame) {
    Paint(style, painter, spin->rect, "SunkEdge", edgeFrame(spin));
  } else {
    QStyleOptionSpinBox rest = *spin;
    if (ownButtons) rest.subControls &= ~(QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown);
    style.QProxyStyle::drawComplexControl(QStyle::CC_SpinBox, &rest, painter, widget);
  }
  if (spin->buttonSymbols == QAbstractSpinBox::NoButtons || (!ownButtons && !spin->frame)) return true;

  const bool plusMinus = spin->buttonSymbols == QAbstractSpinBox::PlusMinus;
  const struct {
    QStyle::SubControl Part;
    QAbstractSpinBox::StepEnabledFlag Step;
    QStyle::PrimitiveElement Arrow;
  } parts[] = {
      {QStyle::SC_SpinBoxUp, QAbstractSpinBox::StepUpEnabled,
       plusMinus ? QStyle::PE_IndicatorSpinPlus : QStyle::PE_IndicatorSpinUp},
      {QStyle::SC_SpinBoxDown, QAbstractSpinBox::StepDownEnabled,
       plusMinus ? QStyle::PE_IndicatorSpinMinus : QStyle::PE_IndicatorSpinDown},
  };
  for (const auto& part : parts) {
    const QRect r = style.subControlRect(QStyle::CC_SpinBox, spin, part.Part, widget);
    const bool active = spin->activeSubControls & part.Part;
    if (ownButtons) Paint(style, painter, r, "UpDown.Vert", PartFrame(spin->state, active));
    QStyleOption arrow = *spin;
    arrow.rect = r;
    if (!(spin->stepEnabled & part.Step)) arrow.state &= ~QStyle::State_Enabled;
    if (!active) arrow.state &= ~(QStyle::State_Sunken | QStyle::State_MouseOver);
    style.drawPrimitive(part.Arrow, &arrow, painter, widget);
  }
  return true;
}

}  // namespace skinstyle
