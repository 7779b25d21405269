#include "platform/text/Rtf.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace rtf {
namespace {

bool isHidden(std::string_view word) {
  for (const std::string_view hidden : {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer",
                                        "object", "themedata", "listtable", "listoverridetable", "generator"})
    if (word == hidden) return true;
  return false;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct Group {
  bool hidden = false;
  int fallbackChars = 1;  // \ucN: characters that stand in for each \u character
};

}  // namespace

bool isRichText(std::string_view content) { return content.substr(0, 5) == "{\\rtf"; }

AnsiString plainText(std::string_view rtf) {
  AnsiString out;
  std::vector<Group> groups{Group{}};
  int skip = 0;  // fallback characters still to be dropped after a \u character
  const auto emit = [&](std::string_view bytes) {
    if (skip > 0) {
      --skip;
      return;
    }
    if (!groups.back().hidden) out.append(bytes);
  };
  for (std::size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{') {
      groups.push_back(groups.back());
      ++i;
    } else if (c == '}') {
      if (groups.size() > 1) groups.pop_back();
      ++i;
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else if (c != '\\') {
      emit(rtf.substr(i, 1));
      ++i;
    } else if (i + 1 >= rtf.size()) {
      break;
    } else if (rtf[i + 1] == '\'') {
      const int high = i + 2 < rtf.size() ? hexValue(rtf[i + 2]) : -1;
      const int low = i + 3 < rtf.size() ? hexValue(rtf[i + 3]) : -1;
      if (high >= 0 && low >= 0) {
        const char byte = static_cast<char>(high * 16 + low);
        emit(std::string_view(&byte, 1));
        i += 4;
      } else {
        // A broken escape takes its digits with it.
        i += high >= 0 ? 3 : 2;
      }
    } else if (rtf[i + 1] == '*') {
      groups.back().hidden = true;  // a destination a reader need not understand
      i += 2;
    } else if (!std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
      if (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}') emit(rtf.substr(i + 1, 1));
      i += 2;
    } else {
      std::size_t end = i + 1;
      while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end]))) ++end;
      const std::string_view word = rtf.substr(i + 1, end - i - 1);
      std::size_t numberEnd = end;
      if (numberEnd < rtf.size() && rtf[numberEnd] == '-') ++numberEnd;
      while (numberEnd < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[numberEnd]))) ++numberEnd;
      const bool hasNumber = numberEnd > end && std::isdigit(static_cast<unsigned char>(rtf[numberEnd - 1]));
      const long number = hasNumber ? std::strtol(std::string(rtf.substr(end, numberEnd - end)).c_str(), nullptr, 10) : 0;
      i = hasNumber ? numberEnd : end;
      if (i < rtf.size() && rtf[i] == ' ') ++i;  // the blank ends the control word
      if (word == "par" || word == "line") {
        emit("\r\n");
      } else if (word == "tab") {
        emit("\t");
      } else if (word == "uc" && hasNumber) {
        groups.back().fallbackChars = static_cast<int>(number);
      } else if (word == "u" && hasNumber) {
        const char16_t unit = static_cast<char16_t>(number < 0 ? number + 65536 : number);
        if (!groups.back().hidden) out += text::wideToAnsi(std::u16string_view(&unit, 1));
        skip = groups.back().fallbackChars;
      } else if (isHidden(word)) {
        groups.back().hidden = true;
      }
    }
  }
  return out;
}

}  // namespace rtf
