#pragma once
// The fonts a sheet is set in and what is measured of them, each thing once: the characters' size,
// the syllables' smaller font, which characters the font has glyphs for, and the advances of
// whatever is not an ideograph (ideographs and the CJK punctuation all take a square of the
// characters' size, so they are never measured).

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

class QPainter;
class QPointF;

// The colours of the characters: ink, and the red of the search word.
inline const QColor kPoemInk(0, 0, 0);
inline const QColor kPoemRed(255, 0, 0);

class TPoemFonts {
 public:
  explicit TPoemFonts(const QFont& font);

  const QFont& Text() const { return text_; }
  const QFont& Syllables() const { return syllables_; }
  // The side of a character's square, in the font's pixels.
  int Em() const { return em_; }
  int SyllableHeight() const { return syllableHeight_; }

  qreal Advance(const QString& glyph) const;
  // Whether the font, or the font the system falls back on for it, has a glyph for `c`.
  bool Draws(char32_t c) const;
  qreal SyllableAdvance(const QString& syllable) const;

  // Draws `glyph` in the square whose top left is `at`, in the painter's font, which is Text():
  // an ideograph on the baseline the CJK fonts design their square around, anything else centred.
  void DrawGlyph(QPainter& painter, const QPointF& at, const QString& glyph) const;
  // Draws `syllable` centred on `centre`, in the painter's font, which is Syllables().
  void DrawSyllable(QPainter& painter, const QPointF& centre, const QString& syllable) const;

 private:
  QFont text_;
  QFont syllables_;
  QFontMetricsF textMetrics_;
  QFontMetricsF syllableMetrics_;
  int em_;
  int syllableHeight_;
  mutable QHash<QString, qreal> advances_;
  mutable QHash<QString, qreal> syllableAdvances_;
  mutable QHash<char32_t, bool> drawn_;
};

// Whether the character takes a full square: ideographs, kana, hangul, CJK and full-width forms.
bool IsWide(const QString& glyph);
