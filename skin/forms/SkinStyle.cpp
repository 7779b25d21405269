#include "skin/forms/SkinStyle.h"

#include <algorithm>
#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QStyleFactory>
#include <QStyleOption>

#include "skin/forms/SkinStyleDraw.h"
#include "skin/forms/WinSkinData.h"

using namespace skinstyle;

namespace {

// The platform's own style, a copy of the application's, for everything the skin does not draw.
QStyle* platformStyle() { return QStyleFactory::create(QApplication::style()->name()); }

// A skin's bitmaps may be of any size; the layout sizes taken from them stay sensible.
int metricOf(int size) { return std::clamp(size, 1, 96); }

constexpr int kTabCaptionMargin = 10;

}  // namespace

std::shared_ptr<TSkinStyle> TSkinStyle::For(TSkinData& data) {
  static std::map<const TSkinData*, std::weak_ptr<TSkinStyle>> styles;
  std::weak_ptr<TSkinStyle>& slot = styles[&data];
  std::shared_ptr<TSkinStyle> style = slot.lock();
  if (!style) {
    std::erase_if(styles, [](const auto& entry) { return entry.second.expired(); });
    style = std::make_shared<TSkinStyle>(data);
    styles[&data] = style;
  }
  return style;
}

TSkinStyle::TSkinStyle(TSkinData& data) : QProxyStyle(platformStyle()), data_(&data) {}

TSkinStyle::~TSkinStyle() = default;

const TSkinPicture* TSkinStyle::Picture(std::string_view name) const { return data_->Picture(name); }

void TSkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  bool drawn = false;
  switch (element) {
    case PE_PanelButtonCommand:
      drawn = qobject_cast<const QAbstractButton*>(widget) && DrawButtonPanel(*this, option, painter);
      break;
    case PE_IndicatorCheckBox:
    case PE_IndicatorItemViewItemCheck:
    case PE_IndicatorRadioButton: drawn = DrawMark(*this, element, option, painter); break;
    case PE_PanelLineEdit:
    case PE_FrameLineEdit:
    case PE_Frame: drawn = DrawSunkEdge(*this, element, option, painter, widget); break;
    case PE_FrameGroupBox: drawn = Paint(*this, painter, option->rect, "GroupBox", 0); break;
    case PE_FrameTabWidget: drawn = Paint(*this, painter, option->rect, "Tab.Pane", 0); break;
    case PE_PanelMenu: drawn = Paint(*this, painter, option->rect, "MenuBackground", 0); break;
    // The menu's background picture brings its own border.
    case PE_FrameMenu: drawn = Picture("MenuBackground") != nullptr; break;
    case PE_FrameFocusRect: drawn = data_->Options().Contains(xoNoFocusRect); break;
    default: break;
  }
  if (!drawn) QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TSkinStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
  bool drawn = false;
  switch (element) {
    case CE_PushButtonBevel: drawn = DrawPushButtonBevel(*this, option, painter, widget); break;
    case CE_TabBarTabShape: drawn = DrawTabShape(*this, option, painter, widget); break;
    case CE_HeaderSection: drawn = DrawHeaderSection(*this, option, painter); break;
    case CE_ProgressBarGroove: drawn = Paint(*this, painter, option->rect, "Progress", 0); break;
    case CE_ProgressBarContents: drawn = DrawProgressContents(*this, option, painter); break;
    case CE_MenuItem: drawn = DrawMenuItem(*this, option, painter, widget); break;
    case CE_MenuEmptyArea: drawn = Picture("MenuBackground") != nullptr; break;
    default: break;
  }
  if (!drawn) QProxyStyle::drawControl(element, option, painter, widget);
}

void TSkinStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                    const QWidget* widget) const {
  bool drawn = false;
  switch (control) {
    case CC_ToolButton: drawn = DrawToolButton(*this, option, painter, widget); break;
    case CC_ComboBox: drawn = DrawComboBox(*this, option, painter, widget); break;
    case CC_SpinBox: drawn = DrawSpinBox(*this, option, painter, widget); break;
    case CC_GroupBox: drawn = DrawGroupBox(*this, option, painter, widget); break;
    case CC_ScrollBar: drawn = DrawScrollBar(*this, option, painter, widget); break;
    case CC_Slider: drawn = DrawSlider(*this, option, painter, widget); break;
    default: break;
  }
  if (!drawn) QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QRect TSkinStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                 const QWidget* widget) const {
  if (control == CC_ComboBox)
    if (const QRect r = ComboBoxRect(*this, option, sub); !r.isNull()) return r;
  return QProxyStyle::subControlRect(control, option, sub, widget);
}

int TSkinStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
  const bool horizontal =
      slider ? slider->orientation == Qt::Horizontal : option && (option->state & State_Horizontal);
  const TSkinPicture* p = nullptr;
  switch (metric) {
    case PM_IndicatorWidth:
      if ((p = Picture("Buttons.CheckButton"))) return metricOf(p->FrameWidth());
      break;
    case PM_IndicatorHeight:
      if ((p = Picture("Buttons.CheckButton"))) return metricOf(p->Image.height());
      break;
    case PM_ExclusiveIndicatorWidth:
      if ((p = Picture("Buttons.RadioButton"))) return metricOf(p->FrameWidth());
      break;
    case PM_ExclusiveIndicatorHeight:
      if ((p = Picture("Buttons.RadioButton"))) return metricOf(p->Image.height());
      break;
    case PM_ScrollBarExtent:
      if ((p = Picture("Scrollbar"))) return metricOf(horizontal ? p->Image.height() : p->FrameWidth());
      break;
    case PM_SliderLength:
      if ((p = Picture(horizontal ? "Trackbar.ThumbHorz" : "Trackbar.ThumbVert")))
        return metricOf(horizontal ? p->FrameWidth() : p->Image.height());
      break;
    case PM_SliderThickness:
    case PM_SliderControlThickness:
      if ((p = Picture(horizontal ? "Trackbar.ThumbHorz" : "Trackbar.ThumbVert")))
        return metricOf(horizontal ? p->Image.height() : p->FrameWidth());
      break;
    case PM_TabBarTabHSpace:
      // The skin's tab faces stretch to any width; a narrow margin beside the caption keeps a page
      // control's tabs in one row without scroll arrows where the platform's margin would not.
      return std::min(QProxyStyle::pixelMetric(metric, option, widget), kTabCaptionMargin);
    default: break;
  }
  return QProxyStyle::pixelMetric(metric, option, widget);
}

QPalette SkinPalette(const TSkinData& data, QPalette base, TSkinColourSet colours) {
  const TSkinColours& c = data.Colours();
  // A text colour the control was given is part of what it says (a prompt, a command): it
  // stays, and the skin's text colour goes to the controls left at the default.
  const QPalette own = base;
  const auto keepOwnText = [&own](QPalette& palette) {
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        if (own.isBrushSet(group, role)) palette.setBrush(group, role, own.brush(group, role));
  };
  if (colours == TSkinColourSet::Menu) {
    base.setColor(QPalette::Window, SkinColour(c.Menu));
    base.setColor(QPalette::Button, SkinColour(c.Menu));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      base.setColor(role, SkinColour(c.MenuText));
  } else {
    base.setColor(QPalette::Window, SkinColour(c.ButtonFace));
    base.setColor(QPalette::Button, SkinColour(c.ButtonFace));
    base.setColor(QPalette::WindowText, SkinColour(c.WindowText));
    base.setColor(QPalette::Text, SkinColour(c.WindowText));
    base.setColor(QPalette::ButtonText, SkinColour(c.ButtonText));
    base.setColor(QPalette::Light, SkinColour(c.ButtonHilight));
    base.setColor(QPalette::Midlight, SkinColour(c.Buttonlight));
    base.setColor(QPalette::Mid, SkinColour(c.ButtonShadow));
    base.setColor(QPalette::Dark, SkinColour(c.ButtonShadow));
    base.setColor(QPalette::Shadow, SkinColour(c.ButtonDkShadow));
  }
  base.setColor(QPalette::Highlight, SkinColour(c.Hilight));
  base.setColor(QPalette::HighlightedText, SkinColour(c.HilightText));
  keepOwnText(base);
  return base;
}
