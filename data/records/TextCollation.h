#pragma once
// The order of text for the Chinese locale (ICU's "zh" collation: pinyin), as local sorting and
// searching compare texts. Each thread opens its collators once and keeps them.

#include <string_view>

// < 0, 0 or > 0; `caseInsensitive` lets letters that differ only in case compare equal.
int CollateText(std::u16string_view a, std::u16string_view b, bool caseInsensitive);
// Code page 936 text, compared as the characters it stands for.
int CollateText(std::string_view a, std::string_view b, bool caseInsensitive);
