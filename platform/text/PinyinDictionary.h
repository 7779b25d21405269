#pragma once
// The pinyin dictionary: words of one or more Chinese characters, each with its reading and the
// rate at which it occurs in text. The reader and sici-pinyin load it from sici.pinyin, which
// sici-pinyin-dict writes at build time.
//
// The file is UTF-8 text: the line "sici.pinyin 1", then one line a word,
//     word TAB reading TAB rate LF
// sorted by the bytes of the word, no word twice. A word is 1 to 32 characters, none of them
// ASCII; its reading is one syllable a character, lower-case letters with tone marks, the
// syllables separated by single blanks; the rate is a decimal number above 0 and at most 1.
// The file stays in memory as read, beside one small record a line, so a lookup is a binary
// search that copies nothing.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// A dictionary file that cannot be read or is not one; the message names the file and the line.
class PinyinDictionaryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PinyinEntry {
  std::string Word;     // UTF-8
  std::string Reading;  // "chán yú"
  double Rate = 0;
};

class PinyinDictionary {
 public:
  static constexpr std::string_view kFileName = "sici.pinyin";
  static constexpr std::string_view kFirstLine = "sici.pinyin 1";
  static constexpr std::size_t kMaxWordCharacters = 32;
  // Several times the size of the dictionary built from the data package: a larger file is not
  // one of ours, and is refused before anything is allocated for it.
  static constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

  // Throws PinyinDictionaryError.
  static PinyinDictionary Load(const std::filesystem::path& file);
  // The contents of a dictionary file; `name` is what error messages call it.
  static PinyinDictionary Parse(std::string bytes, std::string_view name);

  struct Found {
    std::string_view Reading;
    float LogRate;  // natural logarithm of the rate
  };
  struct Match {
    std::optional<Found> Exact;  // the entry of exactly this word
    bool Longer = false;         // whether a longer word begins with it
  };
  // `word` in UTF-8.
  Match Lookup(std::string_view word) const;

  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::uint32_t Word;  // offset of the line; the reading follows the word after a TAB
    std::uint8_t WordBytes;
    std::uint16_t ReadingBytes;
    float LogRate;
  };
  std::string_view word(const Entry& e) const { return std::string_view(bytes_).substr(e.Word, e.WordBytes); }

  std::string bytes_;
  std::vector<Entry> entries_;
};

// Writes `entries` as a dictionary file, sorted; first to a name of its own beside `file`, which
// then replaces `file`, so that a failed run leaves the former file as it was. Throws
// PinyinDictionaryError for an entry the loader would refuse, or a word given twice.
void WritePinyinDictionary(const std::filesystem::path& file, std::vector<PinyinEntry> entries);

// sici.pinyin in the folder of the running executable, where the build puts it beside the
// programs; empty when the executable's folder cannot be found.
std::filesystem::path PinyinDictionaryBesideProgram();

}  // namespace text
