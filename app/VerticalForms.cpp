#include "app/VerticalForms.h"

#include <QHash>

#include "app/PoemFonts.h"

namespace {

struct TForm {
  char16_t Vertical;  // 0: Unicode has none
  TStance Without;    // how the horizontal mark stands when the font cannot draw the vertical one
};

const QHash<char16_t, TForm>& forms() {
  static const QHash<char16_t, TForm> table{
      {u'，', {0xFE10, TStance::Corner}},
      {u'、', {0xFE11, TStance::Corner}},
      {u'。', {0xFE12, TStance::Corner}},
      {u'：', {0xFE13, TStance::Turned}},
      {u'；', {0xFE14, TStance::Turned}},
      {u'！', {0xFE15, TStance::Upright}},
      {u'？', {0xFE16, TStance::Upright}},
      {u'〖', {0xFE17, TStance::Turned}},
      {u'〗', {0xFE18, TStance::Turned}},
      {u'…', {0xFE19, TStance::Turned}},
      {u'‥', {0xFE30, TStance::Turned}},
      {u'—', {0xFE31, TStance::Turned}},
      {u'―', {0xFE31, TStance::Turned}},
      {u'–', {0xFE32, TStance::Turned}},
      {u'（', {0xFE35, TStance::Turned}},
      {u'）', {0xFE36, TStance::Turned}},
      {u'｛', {0xFE37, TStance::Turned}},
      {u'｝', {0xFE38, TStance::Turned}},
      {u'〔', {0xFE39, TStance::Turned}},
      {u'〕', {0xFE3A, TStance::Turned}},
      {u'【', {0xFE3B, TStance::Turned}},
      {u'】', {0xFE3C, TStance::Turned}},
      {u'《', {0xFE3D, TStance::Turned}},
      {u'》', {0xFE3E, TStance::Turned}},
      {u'〈', {0xFE3F, TStance::Turned}},
      {u'〉', {0xFE40, TStance::Turned}},
      {u'「', {0xFE41, TStance::Turned}},
      {u'」', {0xFE42, TStance::Turned}},
      {u'『', {0xFE43, TStance::Turned}},
      {u'』', {0xFE44, TStance::Turned}},
      {u'［', {0xFE47, TStance::Turned}},
      {u'］', {0xFE48, TStance::Turned}},
      // The national standard for punctuation sets double quotation marks as the double corner
      // brackets in vertical text, single ones as the single brackets.
      {u'“', {0xFE43, TStance::Turned}},
      {u'”', {0xFE44, TStance::Turned}},
      {u'‘', {0xFE41, TStance::Turned}},
      {u'’', {0xFE42, TStance::Turned}},
      {u'．', {0, TStance::Corner}},
      {u'～', {0, TStance::Turned}},
      {u'〜', {0, TStance::Turned}},
      {u'－', {0, TStance::Turned}},
      {u'＿', {0xFE33, TStance::Turned}},
  };
  return table;
}

// Narrow characters lie on their side in a column, as Latin words do in vertical books; the
// middle dots sit at the centre either way.
bool turned(const QString& cell) {
  const char16_t c = cell.at(0).unicode();
  return c > 0x20 && c < 0x2E80 && c != 0x00B7 && c != 0x2022 && c != 0x2027 && !IsWide(cell);
}

}  // namespace

TVerticalGlyph VerticalGlyphOf(const QString& cell, const TPoemFonts& fonts) {
  if (cell.isEmpty()) return {cell, TStance::Upright};
  if (cell.size() == 1) {
    const auto form = forms().constFind(cell.at(0).unicode());
    if (form != forms().cend()) {
      if (form->Vertical != 0 && fonts.Draws(form->Vertical)) return {QString(QChar(form->Vertical)), TStance::Upright};
      return {cell, form->Without};
    }
  }
  return {cell, turned(cell) ? TStance::Turned : TStance::Upright};
}
