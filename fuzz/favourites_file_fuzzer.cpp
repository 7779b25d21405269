// libFuzzer target for the reader of the favourites' text file: any bytes are refused with a
// message or give lines that are each a sound poem, and those lines written out read back the same.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/FavouritesFile.h"
#include "platform/text/AnsiText.h"

namespace {

bool wellFormed(std::string_view s) {
  for (std::size_t pos = 0; pos < s.size();)
    if (!text::strictUtf8Character(s, pos)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  favourites::Read read;
  try {
    read = favourites::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const favourites::FileError&) {
    return 0;
  }
  for (const favourites::Line& line : read.Lines)
    for (const std::string& field : {line.Title, line.Author})
      if (field.empty() || field.size() > favourites::kMaxFieldBytes || !wellFormed(field)) std::abort();
  const favourites::Read again = favourites::Parse(favourites::Write(read.Lines));
  if (!again.Unreadable.empty() || again.Lines.size() != read.Lines.size()) std::abort();
  for (std::size_t i = 0; i < read.Lines.size(); ++i)
    if (again.Lines[i].Id != read.Lines[i].Id) std::abort();
  return 0;
}
