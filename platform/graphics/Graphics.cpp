#include "platform/graphics/Graphics.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The classic desktop's values of the system colours the program uses.
TColor systemColor(unsigned index) {
  switch (index) {
    case 0: return 0xC8C8C8;   // scroll bar
    case 4: return 0xF0F0F0;   // menu
    case 5: return 0xFFFFFF;   // window
    case 7: return 0x000000;   // menu text
    case 8: return 0x000000;   // window text
    case 9: return 0x000000;   // caption text
    case 13: return 0xD77800;  // highlight (0, 120, 215)
    case 14: return 0xFFFFFF;  // highlight text
    case 15: return 0xF0F0F0;  // button face
    case 16: return 0x808080;  // button shadow
    case 18: return 0x000000;  // button text
    case 19: return 0x000000;  // inactive caption text
    case 20: return 0xFFFFFF;  // button highlight
    case 21: return 0x696969;  // 3D dark shadow
    case 22: return 0xE3E3E3;  // 3D light
    case 30: return 0xF0F0F0;  // menu bar
    default: return 0x000000;
  }
}

}  // namespace

TColor ColorToRGB(TColor color) { return (color & kSystemColor) ? systemColor(color & 0xFF) : (color & 0xFFFFFF); }

TColor RGB(int red, int green, int blue) {
  return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
int GetRValue(TColor rgb) { return static_cast<int>(rgb & 0xFF); }
int GetGValue(TColor rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int GetBValue(TColor rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

int TCanvas::TextWidth(const QString& text) const { return QFontMetrics(Font).horizontalAdvance(text); }

int TCanvas::TextHeight(const QString&) const { return QFontMetrics(Font).height(); }

TTextMetric TCanvas::TextMetrics() const {
  const QFontMetrics fm(Font);
  TTextMetric tm;
  tm.Ascent = fm.ascent();
  tm.Descent = fm.descent();
  tm.Height = fm.height();
  const int em = Font.pixelSize() > 0 ? Font.pixelSize() : static_cast<int>(std::lround(Font.pointSizeF() * 96 / 72));
  tm.InternalLeading = std::max(0, tm.Height - em);
  tm.ExternalLeading = std::max(0, fm.leading());
  tm.AveCharWidth = fm.averageCharWidth();
  tm.Overhang = 0;
  return tm;
}

void TCanvas::FillRect(const QRect& rect) {
  if (painter_ && rect.isValid()) painter_->fillRect(rect, ToQColor(BrushColor));
}

void TCanvas::TextRect(const QRect& clip, int x, int y, const QString& text) {
  if (!painter_) return;
  FillRect(clip);
  painter_->save();
  painter_->setClipRect(clip, Qt::IntersectClip);
  painter_->setFont(Font);
  painter_->setPen(ToQColor(FontColor));
  painter_->drawText(QPoint(x, y + QFontMetrics(Font).ascent()), text);
  painter_->restore();
}

void TCanvas::Polyline(const std::vector<QPoint>& points) {
  if (!painter_ || points.size() < 2) return;
  painter_->save();
  // A pen of width w covers the w pixels from the line's coordinate on, as on the desktop.
  QPen pen(ToQColor(PenColor));
  pen.setWidth(PenWidth);
  pen.setCapStyle(Qt::FlatCap);
  painter_->setPen(pen);
  const double shift = PenWidth / 2.0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const QPointF a = points[i - 1], b = points[i];
    const QPointF offset(a.x() == b.x() ? shift : 0, a.y() == b.y() ? shift : 0);
    painter_->drawLine(a + offset, b + offset);
  }
  painter_->restore();
}

void TCanvas::DrawFocusRect(const QRect& rect) {
  if (!painter_ || rect.isEmpty()) return;
  painter_->save();
  painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const QColor white(255, 255, 255);
  for (int x = rect.left(); x <= rect.right(); x += 2) {
    painter_->fillRect(x, rect.top(), 1, 1, white);
    painter_->fillRect(x, rect.bottom(), 1, 1, white);
  }
  for (int y = rect.top() + 2; y < rect.bottom(); y += 2) {
    painter_->fillRect(rect.left(), y, 1, 1, white);
    painter_->fillRect(rect.right(), y, 1, 1, white);
  }
  painter_->restore();
}

void TCanvas::line(int x1, int y1, int x2, int y2, TColor color) {
  painter_->fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))),
                     ToQColor(color));
}

void TCanvas::DrawEdge(const QRect& rect, unsigned edge, unsigned flags) {
  if (!painter_ || rect.isEmpty()) return;
  QRect r = rect;
  // The outer edge first, then the inner one inside it.
  auto ring = [&](TColor topLeft, TColor bottomRight) {
    if (flags & BF_TOP) line(r.left(), r.top(), r.right(), r.top(), topLeft);
    if (flags & BF_LEFT) line(r.left(), r.top(), r.left(), r.bottom(), topLeft);
    if (flags & BF_BOTTOM) line(r.left(), r.bottom(), r.right(), r.bottom(), bottomRight);
    if (flags & BF_RIGHT) line(r.right(), r.top(), r.right(), r.bottom(), bottomRight);
    r.adjust(flags & BF_LEFT ? 1 : 0, flags & BF_TOP ? 1 : 0, flags & BF_RIGHT ? -1 : 0, flags & BF_BOTTOM ? -1 : 0);
  };
  if (edge & BDR_RAISEDOUTER) ring(cl3DLight, cl3DDkShadow);
  if (edge & BDR_SUNKENOUTER) ring(clBtnShadow, clBtnHighlight);
  if (edge & BDR_RAISEDINNER) ring(clBtnHighlight, clBtnShadow);
  if (edge & BDR_SUNKENINNER) ring(clBtnShadow, clBtnHighlight);
}

TColor Lighten(TColor color, TColor glass, bool greyCorrection) {
  const TColor c = ColorToRGB(color), g = ColorToRGB(glass);
  auto channel = [greyCorrection](int x, int glassChannel) {
    const double m = x + (glassChannel - x) * 0.5;
    double l = m + (225 - m) * 0.6;
    if (greyCorrection) l = l - (122 - l) * 0.25;
    // Halves go to the even neighbour.
    const double rounded = std::nearbyint(l);
    return std::clamp(static_cast<int>(rounded), 0, 255);
  };
  return RGB(channel(GetRValue(c), GetRValue(g)), channel(GetGValue(c), GetGValue(g)),
             channel(GetBValue(c), GetBValue(g)));
}
