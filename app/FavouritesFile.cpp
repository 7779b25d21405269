#include "app/FavouritesFile.h"

#include <charconv>

#include "platform/text/AnsiText.h"

namespace favourites {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool wellFormedUtf8(std::string_view s) {
  for (std::size_t pos = 0; pos < s.size();)
    if (!text::strictUtf8Character(s, pos)) return false;
  return true;
}

std::vector<std::string_view> split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = line.find(separator);
    fields.push_back(line.substr(0, end));
    if (end == std::string_view::npos) return fields;
    line.remove_prefix(end + 1);
  }
}

std::optional<Line> poem(std::string_view line) {
  const std::vector<std::string_view> fields = split(line, '\t');
  if (fields.size() != 3) return std::nullopt;
  for (std::size_t i = 0; i < 2; ++i)
    if (fields[i].empty() || fields[i].size() > kMaxFieldBytes || !wellFormedUtf8(fields[i])) return std::nullopt;
  Line out{std::string(fields[0]), std::string(fields[1]), std::nullopt};
  if (!fields[2].empty()) {
    long long id = 0;
    const auto [end, error] = std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), id);
    if (error != std::errc() || end != fields[2].data() + fields[2].size() || id < 0) return std::nullopt;
    out.Id = id;
  }
  return out;
}

std::string field(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

Read Parse(std::string_view bytes) {
  if (bytes.size() > kMaxBytes) throw FileError("文件太大，不是收藏文件");
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
  std::vector<std::string_view> lines = split(bytes, '\n');
  for (std::string_view& line : lines)
    if (line.ends_with('\r')) line.remove_suffix(1);
  if (lines.empty() || lines.front() != kHeader) throw FileError("文件的第一行不是“作品、作者、编号”三栏的标题行，不是收藏文件");
  Read read;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    if (std::optional<Line> line = poem(lines[i]))
      read.Lines.push_back(std::move(*line));
    else
      read.Unreadable.push_back(static_cast<int>(i + 1));
  }
  return read;
}

std::string Write(const std::vector<Line>& lines) {
  std::string out(kHeader);
  out += '\n';
  for (const Line& line : lines) {
    out += field(line.Title) + '\t' + field(line.Author) + '\t';
    if (line.Id) out += std::to_string(*line.Id);
    out += '\n';
  }
  return out;
}

}  // namespace favourites
