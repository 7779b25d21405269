// sici-pinyin: prints each argument in pinyin, one line an argument (platform/text/PinyinLine.h
// says how syllables and other characters combine), read with the dictionary beside the program.

#include <cstdlib>
#include <iostream>

#include "platform/text/PinyinLine.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: sici-pinyin TEXT...\n";
    return 2;
  }
  try {
    const text::PinyinReader reader(text::PinyinDictionary::Load(text::PinyinDictionaryBesideProgram()));
    for (int i = 1; i < argc; ++i) std::cout << text::PinyinLine(reader, argv[i]) << '\n';
  } catch (const text::PinyinDictionaryError& e) {
    std::cerr << "sici-pinyin: pinyin is unavailable: " << e.what() << '\n';
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
