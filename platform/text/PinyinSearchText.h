#pragma once
// A text's syllables in the form the collection stores for finding titles and authors by pinyin,
// and the form typed pinyin is matched against (PinyinMatch.h): what a keyboard types, without
// tones, so toneless lower-case ASCII with ü written v; one syllable for every character that has
// a reading, separated by single blanks. Characters without one (punctuation, letters, digits,
// 〓) leave nothing behind, so that a typed run of syllables reads on across them:
//     静夜思          -> jing ye si
//     送元二使安西    -> song yuan er shi an xi
//     绿衣（其一）    -> lv yi qi yi

#include <string>
#include <string_view>

#include "platform/text/PinyinReading.h"

namespace text {

std::string SearchSyllables(const PinyinReader& reader, std::u32string_view text);

}  // namespace text
