#include "app/PoemFonts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

namespace {

// The syllables' size against the characters'.
constexpr double kSyllableScale = 0.5;
// CJK fonts design each character in a square with 880 of its 1000 units above the baseline.
constexpr double kIdeographicAscent = 0.88;

int pixelsOf(const QFont& font) {
  return std::max(1, font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize());
}

// Sized in pixels whatever it was sized in, so that everything measured of it is in pixels.
QFont inPixels(QFont font) {
  font.setPixelSize(pixelsOf(font));
  return font;
}

QFont syllableFont(int em) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(6, static_cast<int>(std::lround(em * kSyllableScale))));
  return font;
}

char32_t firstCodePoint(const QString& glyph) {
  if (glyph.isEmpty()) return 0;
  const QChar first = glyph.at(0);
  if (first.isHighSurrogate() && glyph.size() > 1) return QChar::surrogateToUcs4(first, glyph.at(1));
  return first.unicode();
}

}  // namespace

bool IsWide(const QString& glyph) {
  static constexpr std::array<std::pair<char32_t, char32_t>, 10> kWide{{
      {0x1100, 0x115F},    // hangul leading consonants
      {0x2E80, 0x303E},    // radicals, ideographic description, CJK symbols and punctuation
      {0x3041, 0xA4CF},    // kana, bopomofo, CJK strokes, extension A, unified ideographs, Yi
      {0xAC00, 0xD7A3},    // hangul syllables
      {0xF900, 0xFAFF},    // compatibility ideographs
      {0xFE10, 0xFE19},    // vertical forms
      {0xFE30, 0xFE6F},    // compatibility and small forms
      {0xFF01, 0xFF60},    // full-width forms
      {0xFFE0, 0xFFE6},    // full-width signs
      {0x20000, 0x3FFFD},  // supplementary ideographs
  }};
  const char32_t c = firstCodePoint(glyph);
  return std::any_of(kWide.begin(), kWide.end(),
                     [c](const auto& range) { return c >= range.first && c <= range.second; });
}

TPoemFonts::TPoemFonts(const QFont& font)
    : text_(inPixels(font)),
      syllables_(syllableFont(pixelsOf(font))),
      textMetrics_(text_),
      syllableMetrics_(syllables_),
      em_(pixelsOf(font)),
      syllableHeight_(static_cast<int>(std::ceil(syllableMetrics_.height()))) {}

qreal TPoemFonts::Advance(const QString& glyph) const {
  if (IsWide(glyph)) return em_;
  auto known = advances_.constFind(glyph);
  if (known == advances_.cend()) known = advances_.insert(glyph, textMetrics_.horizontalAdvance(glyph));
  return *known;
}

qreal TPoemFonts::SyllableAdvance(const QString& syllable) const {
  auto known = syllableAdvances_.constFind(syllable);
  if (known == syllableAdvances_.cend())
    known = syllableAdvances_.insert(syllable, syllableMetrics_.horizontalAdvance(syllable));
  return *known;
}

bool TPoemFonts::Draws(char32_t c) const {
  auto known = drawn_.constFind(c);
  if (known != drawn_.cend()) return *known;
  // Only a laid out text goes through the fallback fonts; a glyph 0 is the font's "missing" box.
  QTextLayout layout(QString::fromUcs4(&c, 1), text_);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  const bool drawn = !runs.isEmpty() && std::all_of(runs.begin(), runs.end(), [](const QGlyphRun& run) {
    const QList<quint32> glyphs = run.glyphIndexes();
    return !glyphs.isEmpty() && !glyphs.contains(0u);
  });
  return *drawn_.insert(c, drawn);
}

void TPoemFonts::DrawGlyph(QPainter& painter, const QPointF& at, const QString& glyph) const {
  if (IsWide(glyph)) {
    painter.drawText(QPointF(at.x(), at.y() + em_ * kIdeographicAscent), glyph);
    return;
  }
  const qreal ascent = textMetrics_.ascent();
  const qreal baseline = (em_ - (ascent + textMetrics_.descent())) / 2 + ascent;
  painter.drawText(QPointF(at.x() + (em_ - Advance(glyph)) / 2, at.y() + baseline), glyph);
}

void TPoemFonts::DrawSyllable(QPainter& painter, const QPointF& centre, const QString& syllable) const {
  const qreal baseline = (syllableMetrics_.ascent() - syllableMetrics_.descent()) / 2;
  painter.drawText(QPointF(centre.x() - SyllableAdvance(syllable) / 2, centre.y() + baseline), syllable);
}
