// Scroll bars: arrows from "Scrollbar" (0–3 up, down, left, right; 4–7 hot; 8–11 pressed), the
// groove from "HorzScroll"/"VertScroll", the thumb from "HorzScrollThumb"/"VertScrollThumb"
// (0 normal, 1 hot, 2 pressed). Progress bars: "Progress" the groove, "Progress.Chunk" the
// filled part. Track bars: "Track"/"TRACKVERT" the groove, "Trackbar.ThumbHorz"/"…Vert" the
// thumb (0 normal, 1 hot, 2 pressed).

#include <algorithm>

#include <QPainter>
#include <QStyleOption>

#include "skin/forms/SkinStyleDraw.h"

namespace skinstyle {

bool DrawScrollBar(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter,
                   const QWidget* widget) {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (!bar) return false;
  const bool horizontal = bar->orientation == Qt::Horizontal;
  const char* groove = horizontal ? "HorzScroll" : "VertScroll";
  const char* thumb = horizontal ? "HorzScrollThumb" : "VertScrollThumb";
  const int owned = (style.Picture("Scrollbar") != nullptr) + (style.Picture(groove) != nullptr) +
                    (style.Picture(thumb) != nullptr);
  if (owned == 0) return false;
  // The parts the skin lacks are the platform's, beneath the skin's.
  if (owned < 3) style.QProxyStyle::drawComplexControl(QStyle::CC_ScrollBar, bar, painter, widget);

  auto rect = [&](QStyle::SubControl sub) { return style.subControlRect(QStyle::CC_ScrollBar, bar, sub, widget); };
  auto frame = [&](QStyle::SubControl sub) { return PartFrame(bar->state, bar->activeSubControls & sub); };
  Paint(style, painter, rect(QStyle::SC_ScrollBarGroove), groove, 0);
  const bool mirrored = horizontal && bar->direction == Qt::RightToLeft;
  const int back = horizontal ? (mirrored ? 3 : 2) : 0;
  const int forth = horizontal ? (mirrored ? 2 : 3) : 1;
  Paint(style, painter, rect(QStyle::SC_ScrollBarSubLine), "Scrollbar", back + 4 * frame(QStyle::SC_ScrollBarSubLine));
  Paint(style, painter, rect(QStyle::SC_ScrollBarAddLine), "Scrollbar", forth + 4 * frame(QStyle::SC_ScrollBarAddLine));
  if (bar->maximum != bar->minimum && (bar->state & QStyle::State_Enabled))
    Paint(style, painter, rect(QStyle::SC_ScrollBarSlider), thumb, frame(QStyle::SC_ScrollBarSlider));
  return true;
}

bool DrawProgressContents(const TSkinStyle& style, const QStyleOption* option, QPainter* painter) {
  const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(option);
  if (!bar || !style.Picture("Progress.Chunk")) return false;
  const qint64 span = qint64(bar->maximum) - bar->minimum;
  // A bar without a range shows that it is busy; the platform animates that.
  if (span <= 0) return false;
  const qint64 done = std::clamp(qint64(bar->progress) - bar->minimum, qint64(0), span);
  const QRect r = bar->rect;
  const bool vertical = !(bar->state & QStyle::State_Horizontal);
  QRect filled;
  if (vertical) {
    const int h = static_cast<int>(r.height() * done / span);
    // A vertical bar fills upwards unless inverted.
    const bool fromTop = bar->invertedAppearance;
    filled = fromTop ? QRect(r.left(), r.top(), r.width(), h) : QRect(r.left(), r.bottom() - h + 1, r.width(), h);
  } else {
    const int w = static_cast<int>(r.width() * done / span);
    const bool fromRight = bar->invertedAppearance != (bar->direction == Qt::RightToLeft);
    filled = fromRight ? QRect(r.right() - w + 1, r.top(), w, r.height()) : QRect(r.left(), r.top(), w, r.height());
  }
  Paint(style, painter, filled, "Progress.Chunk", 0);
  return true;
}

bool DrawSlider(const TSkinStyle& style, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget) {
  const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (!slider) return false;
  const bool horizontal = slider->orientation == Qt::Horizontal;
  const TSkinPicture* track = style.Picture(horizontal ? "Track" : "TRACKVERT");
  const char* thumb = horizontal ? "Trackbar.ThumbHorz" : "Trackbar.ThumbVert";
  const bool hasThumb = style.Picture(thumb) != nullptr;
  if (!track && !hasThumb) return false;
  QStyleOptionSlider rest = *slider;
  if (track) rest.subControls &= ~QStyle::SC_SliderGroove;
  if (hasThumb) rest.subControls &= ~QStyle::SC_SliderHandle;
  if (rest.subControls) style.QProxyStyle::drawComplexControl(QStyle::CC_Slider, &rest, painter, widget);

  auto rect = [&](QStyle::SubControl sub) { return style.subControlRect(QStyle::CC_Slider, slider, sub, widget); };
  const QRect handle = rect(QStyle::SC_SliderHandle);
  if (track && (slider->subControls & QStyle::SC_SliderGroove)) {
    // The groove keeps its bitmap's thickness, along the line the thumb runs on.
    const QRect groove = rect(QStyle::SC_SliderGroove);
    QRect line;
    if (horizontal) {
      const int h = std::min(track->Image.height(), slider->rect.height());
      line = QRect(groove.left(), handle.center().y() - h / 2, groove.width(), h);
    } else {
      const int w = std::min(track->FrameWidth(), slider->rect.width());
      line = QRect(handle.center().x() - w / 2, groove.top(), w, groove.height());
    }
    DrawSkinPicture(*painter, line, *track, 0);
  }
  if (hasThumb && (slider->subControls & QStyle::SC_SliderHandle))
    Paint(style, painter, handle, thumb, PartFrame(slider->state, slider->activeSubControls & QStyle::SC_SliderHandle));
  return true;
}

}  // namespace skinstyle
