#pragma once
// How a character stands in a column read top to bottom. Ideographs stand upright as they are.
// Punctuation takes its vertical presentation form (，→︐ 《→︽ …→︙ —→︱, and the quotation
// marks the corner brackets of vertical books, “→﹃ ‘→﹁); where the font has no such form, or
// Unicode none, the horizontal mark is turned a quarter clockwise, or for the comma, the
// enumeration comma and the full stop set in the upper right of its square, as vertical books
// set them. Latin letters, digits and other narrow characters are turned a quarter clockwise.

#include <cstdint>

#include <QString>

class TPoemFonts;

enum class TStance : std::uint8_t { Upright, Turned, Corner };

struct TVerticalGlyph {
  QString Glyph;
  TStance Stance;
};

TVerticalGlyph VerticalGlyphOf(const QString& cell, const TPoemFonts& fonts);
