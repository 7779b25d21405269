#pragma once
// The lines of a skin's texts (the container's name list, the description): each ends at CR,
// LF or CR LF, and text after the last line break makes one more line. No more than `limit`
// lines are split off.

#include <limits>
#include <string_view>
#include <vector>

inline std::vector<std::string_view> SplitSkinLines(std::string_view text,
                                                    std::size_t limit = std::numeric_limits<std::size_t>::max()) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size() && lines.size() < limit; ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size() && lines.size() < limit) lines.push_back(text.substr(start));
  return lines;
}
