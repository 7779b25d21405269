#pragma once
// A small pinyin dictionary for tests, written as sici.pinyin is: the first line, then the given
// "word TAB reading TAB rate" lines in the order of their words.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/PinyinDictionary.h"

namespace test_support {

inline std::string PinyinDictionaryText(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
    return a.substr(0, a.find('\t')) < b.substr(0, b.find('\t'));
  });
  std::string text(text::PinyinDictionary::kFirstLine);
  text += '\n';
  for (const std::string& line : lines) text += line + '\n';
  return text;
}

}  // namespace test_support
