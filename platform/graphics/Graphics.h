#pragma once
// Colours and the canvas the program's controls draw with.
//
// A TColor is 0x00BBGGRR for a plain colour; with the top bit set it names a system colour
// (clWindow, clBtnFace …) that ColorToRGB resolves. System colours are fixed to the classic
// desktop values here, so that a grid draws the same pixels on every machine.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

using TColor = std::uint32_t;

inline constexpr TColor kSystemColor = 0x80000000u;

inline constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0, clGray = 0x808080,
                        clRed = 0x0000FF, clNavy = 0x800000, clPurple = 0x800080, clYellow = 0x00FFFF,
                        clTeal = 0x808000, clFuchsia = 0xFF00FF;
inline constexpr TColor clScrollBar = kSystemColor | 0, clWindow = kSystemColor | 5, clWindowText = kSystemColor | 8,
                        clHighlight = kSystemColor | 13, clHighlightText = kSystemColor | 14,
                        clBtnFace = kSystemColor | 15, clBtnShadow = kSystemColor | 16,
                        clBtnText = kSystemColor | 18, clBtnHighlight = kSystemColor | 20,
                        cl3DDkShadow = kSystemColor | 21, cl3DLight = kSystemColor | 22,
                        clMenu = kSystemColor | 4, clMenuText = kSystemColor | 7, clCaptionText = kSystemColor | 9,
                        clInactiveCaptionText = kSystemColor | 19, clMenuBar = kSystemColor | 30;
inline constexpr TColor clNone = 0x1FFFFFFF;

// The RGB value of a colour, system colours resolved.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor RGB(int red, int green, int blue);
int GetRValue(TColor rgb);
int GetGValue(TColor rgb);
int GetBValue(TColor rgb);

// The character measures of a font, as the layout rules use them.
struct TTextMetric {
  int Height = 0;            // ascent + descent
  int Ascent = 0;
  int Descent = 0;
  int InternalLeading = 0;   // room for accents inside Height
  int ExternalLeading = 0;   // space between lines outside Height
  int AveCharWidth = 0;
  int Overhang = 0;          // extra width of synthesised bold or italic glyphs; 0 for outline fonts
};

// DrawEdge's edges and sides.
enum TEdgeFlags : unsigned {
  BDR_RAISEDOUTER = 0x1,
  BDR_SUNKENOUTER = 0x2,
  BDR_RAISEDINNER = 0x4,
  BDR_SUNKENINNER = 0x8,
  BF_LEFT = 0x1,
  BF_TOP = 0x2,
  BF_RIGHT = 0x4,
  BF_BOTTOM = 0x8,
  BF_TOPLEFT = BF_TOP | BF_LEFT,
  BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
  BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
};

// Drawing state over a painter: font, brush and pen, text measured in the current font. A
// canvas without a painter measures but draws nothing (a control that has no window yet).
class TCanvas {
 public:
  explicit TCanvas(QPainter* painter = nullptr) : painter_(painter) {}

  QPainter* Painter() const { return painter_; }

  QFont Font;
  TColor FontColor = clWindowText;
  TColor BrushColor = clWindow;
  TColor PenColor = clBlack;
  int PenWidth = 1;

  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  TTextMetric TextMetrics() const;

  void FillRect(const QRect& rect);
  // Fills `clip` with the brush, then writes `text` with its top-left at (x, y), cut at the
  // border of `clip`.
  void TextRect(const QRect& clip, int x, int y, const QString& text);
  // Lines through `points` in the pen.
  void Polyline(const std::vector<QPoint>& points);
  // The dotted rectangle of a focused item, drawn by inverting the pixels.
  void DrawFocusRect(const QRect& rect);
  // Raised or sunken edges of `rect` on the sides in `flags`, in the 3D system colours.
  void DrawEdge(const QRect& rect, unsigned edge, unsigned flags);

 private:
  void line(int x1, int y1, int x2, int y2, TColor color);
  QPainter* painter_;
};

// A colour as seen through tinted glass: per channel, halfway to the glass, then 60% of the
// rest towards 225; with grey correction a quarter of the distance to 122 is taken off again.
TColor Lighten(TColor color, TColor glass, bool greyCorrection);
