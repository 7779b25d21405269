#pragma once
// A syllable as the dictionary and the classical readings write it: lower-case letters, the
// vowel that carries the tone marked (zhài, lǜ, ḿ).

#include <string>
#include <string_view>

namespace text {

// The syllable without its tone mark; ü stays ü: "lǜ" -> "lü", "zhài" -> "zhai".
std::string Toneless(std::string_view syllable);

}  // namespace text
