#pragma once
// What must hold for every input of the pinyin dictionary's loader (sici.pinyin, which the reader
// and sici-pinyin read from beside the program). The libFuzzer target and a seeded test both run
// this; a broken invariant raises EInputCheck (fuzz/input_checks.h).

#include <string>
#include <string_view>
#include <vector>

#include "fuzz/input_checks.h"

// The input as the bytes of a dictionary file: either it is refused with PinyinDictionaryError,
// or every line after the first is a word that the dictionary finds with that line's reading,
// and reading a text made of those words gives one syllable or none a character, each syllable
// one of the file's, a classical reading's or a citation tone.
void CheckPinyinDictionaryInput(std::string_view input);

// A sound dictionary of a few words, and a few that are refused.
std::vector<std::string> PinyinDictionarySeeds();
