#pragma once
// TSkinStyle: the one style every control skinner of a skin component draws with. It paints the
// standard controls' parts from the component's pictures — button faces, check and radio marks,
// edit and list frames, the drop-down arrow, group boxes, tabs and their pane, scroll bars,
// progress bars, track bars, spin buttons, header sections and popup menus — in the states of
// the frames the skin gives them, and leaves everything else, and every part whose picture the
// skin lacks, to the platform's style. It reads the pictures as it paints, so a new skin in the
// component shows at the next repaint.
//
// Lifetime: one style per component, shared by the skinners through shared_ptr. The last skinner
// to go deletes it, and a skinner restores its widgets before it lets go, so no widget draws with
// a deleted style; a widget that goes with its control only falls back to the application's
// style for the rest of its end.

#include <memory>
#include <string_view>

#include <QPalette>
#include <QProxyStyle>

#include "skin/forms/SkinParts.h"

class TSkinData;
struct TSkinPicture;

// Set on a tab bar whose tabs are drawn as buttons.
inline constexpr const char* kSkinTabButtonsProperty = "SkinTabButtons";

class TSkinStyle : public QProxyStyle {
 public:
  // The style of `data`, made now if no skinner holds one.
  static std::shared_ptr<TSkinStyle> For(TSkinData& data);

  explicit TSkinStyle(TSkinData& data);
  ~TSkinStyle() override;

  TSkinData& Data() const { return *data_; }
  // The skin's picture of that name, or null when the skin lacks it.
  const TSkinPicture* Picture(std::string_view name) const;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;

 private:
  TSkinData* data_;
};

// `base` with the roles the skin's "Colours" give: faces, text, selections and the 3-D shades
// for the controls; the menu colours for a popup menu. Text colours that `base` sets itself
// stay: pass the control's own palette as it was before the skin, or QPalette() for none.
QPalette SkinPalette(const TSkinData& data, QPalette base, TSkinColourSet colours);
