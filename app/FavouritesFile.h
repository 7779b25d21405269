#pragma once
// The favourites as a text file a person can carry to another machine or collection: UTF-8, a
// header line, then one poem a line, its title, author and the collection's number separated by
// tabs. The file is outside input: whatever it holds, reading it gives the lines it could read
// and the numbers of those it could not, never more than kMaxBytes read.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace favourites {

inline constexpr std::string_view kHeader = "作品\t作者\t编号";
// Far above any real list of favourites (a line is some 40 bytes).
inline constexpr std::size_t kMaxBytes = 16u << 20;
inline constexpr std::size_t kMaxFieldBytes = 1024;

// A file that cannot be taken at all; the message says why.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Line {
  std::string Title;   // UTF-8
  std::string Author;  // UTF-8
  std::optional<long long> Id;
};

struct Read {
  std::vector<Line> Lines;
  // The line numbers (from 1) of lines that are not a poem: a wrong number of fields, a field
  // that is empty, too long or not UTF-8, a number that is not one.
  std::vector<int> Unreadable;
};

// Throws FileError for a file without the header line.
Read Parse(std::string_view bytes);

// The file's text; a tab or line break inside a field becomes a blank.
std::string Write(const std::vector<Line>& lines);

}  // namespace favourites
