#pragma once
// A line of text in pinyin, as sici-pinyin prints it: every character with a reading becomes its
// syllable, every other character stands as written. One blank separates a syllable from the
// syllable, the Chinese character without a reading, or the ASCII letter or digit next to it;
// blanks and punctuation of the text stand as they are, and add none:
//     床前明月光  -> chuáng qián míng yuè guāng
//     明月，光    -> míng yuè，guāng
//     明月, 光    -> míng yuè, guāng
//     唐诗300首   -> táng shī 300 shǒu

#include <string>
#include <string_view>

#include "platform/text/PinyinReading.h"

namespace text {

std::string PinyinLine(const PinyinReader& reader, std::string_view utf8);

}  // namespace text
