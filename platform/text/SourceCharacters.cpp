#include "platform/text/SourceCharacters.h"

#include <vector>

namespace text {
namespace {

std::vector<std::u32string_view> linesOf(std::u32string_view s) {
  std::vector<std::u32string_view> lines;
  for (;;) {
    const std::size_t end = s.find(U'\n');
    std::u32string_view line = s.substr(0, end);
    if (line.ends_with(U'\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::u32string_view::npos) return lines;
    s.remove_prefix(end + 1);
  }
}

}  // namespace

Restored RestoreFromSource(std::u32string_view stored, std::u32string_view source) {
  Restored out{std::u32string(stored), 0};
  if (stored.find(kMissingMark) == std::u32string_view::npos) return out;
  const std::vector<std::u32string_view> sourceLines = linesOf(source);
  std::size_t lineStart = 0;
  std::size_t line = 0;
  for (std::size_t i = 0; i <= out.Text.size(); ++i) {
    if (i < out.Text.size() && out.Text[i] != U'\n') continue;
    std::size_t end = i;
    if (end > lineStart && out.Text[end - 1] == U'\r') --end;
    const std::u32string_view from = line < sourceLines.size() ? sourceLines[line] : std::u32string_view();
    const bool aligned = from.size() == end - lineStart;
    for (std::size_t at = lineStart; at < end; ++at) {
      if (out.Text[at] != kMissingMark) continue;
      if (aligned && from[at - lineStart] != kMissingMark)
        out.Text[at] = from[at - lineStart];
      else
        ++out.Left;
    }
    lineStart = i + 1;
    ++line;
  }
  return out;
}

}  // namespace text
