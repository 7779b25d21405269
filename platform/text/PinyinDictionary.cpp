#include "platform/text/PinyinDictionary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>

#include "platform/text/AnsiText.h"

namespace text {
namespace {

constexpr std::size_t kMaxSyllableBytes = 16;

[[noreturn]] void fail(std::string_view name, std::size_t line, std::string_view what) {
  throw PinyinDictionaryError(std::string(name) + ", line " + std::to_string(line) + ": " + std::string(what));
}

// A character that is not clean UTF-8 stands as this, which no word or reading may hold.
constexpr char32_t kMalformed = 0xFFFFFFFF;
char32_t nextCharacter(std::string_view s, std::size_t& pos) { return strictUtf8Character(s, pos).value_or(kMalformed); }

bool isSyllableLetter(char32_t c) {
  static constexpr std::u32string_view kMarked = U"āáǎàēéěèīíǐìōóǒòūúǔùüǖǘǚǜńňǹḿ";
  return (c >= U'a' && c <= U'z') || kMarked.find(c) != std::u32string_view::npos;
}

// Why these cannot make a line of the file; null when they can.
const char* entryFault(std::string_view word, std::string_view reading, double rate) {
  if (!std::isfinite(rate) || rate <= 0 || rate > 1) return "the rate is not above 0 and at most 1";
  if (word.empty()) return "the word is empty";
  std::size_t characters = 0;
  for (std::size_t pos = 0; pos < word.size();) {
    const char32_t c = nextCharacter(word, pos);
    if (c == kMalformed) return "the word is not UTF-8";
    if (c < 0x80) return "the word holds an ASCII character";
    if (++characters > PinyinDictionary::kMaxWordCharacters) return "the word is longer than 32 characters";
  }
  std::size_t syllables = 0;
  std::size_t start = 0;
  for (std::size_t pos = 0;;) {
    if (pos == reading.size() || reading[pos] == ' ') {
      if (pos == start) return "the reading has an empty syllable";
      if (pos - start > kMaxSyllableBytes) return "the reading has a syllable too long to be one";
      ++syllables;
      if (pos == reading.size()) break;
      start = ++pos;
      continue;
    }
    const char32_t c = nextCharacter(reading, pos);
    if (c == kMalformed || !isSyllableLetter(c)) return "the reading holds a character that is no pinyin letter";
  }
  if (syllables != characters) return "the reading does not have one syllable a character";
  return nullptr;
}

}  // namespace

PinyinDictionary PinyinDictionary::Load(const std::filesystem::path& file) {
  const std::string name = file.string();
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (error) throw PinyinDictionaryError(name + ": cannot be read (" + error.message() + ")");
  if (size > kMaxFileBytes) throw PinyinDictionaryError(name + ": is larger than any pinyin dictionary");
  std::ifstream in(file, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    throw PinyinDictionaryError(name + ": cannot be read whole");
  return Parse(std::move(bytes), name);
}

PinyinDictionary PinyinDictionary::Parse(std::string bytes, std::string_view name) {
  if (bytes.size() > kMaxFileBytes) fail(name, 1, "the file is larger than any pinyin dictionary");
  PinyinDictionary dictionary;
  dictionary.bytes_ = std::move(bytes);
  const std::string_view all = dictionary.bytes_;
  const std::size_t firstEnd = all.find('\n');
  if (firstEnd == std::string_view::npos || all.substr(0, firstEnd) != kFirstLine)
    fail(name, 1, "this is not a pinyin dictionary: the first line is not \"sici.pinyin 1\"");
  dictionary.entries_.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')));

  std::string_view previous;
  std::size_t line = 1;
  for (std::size_t pos = firstEnd + 1; pos < all.size();) {
    ++line;
    const std::size_t end = all.find('\n', pos);
    if (end == std::string_view::npos) fail(name, line, "the file is cut short: its last line has no line end");
    const std::string_view text = all.substr(pos, end - pos);
    const std::size_t tab1 = text.find('\t');
    const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : text.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos) fail(name, line, "the line is not a word, a reading and a rate between TABs");
    const std::string_view word = text.substr(0, tab1);
    const std::string_view reading = text.substr(tab1 + 1, tab2 - tab1 - 1);
    const std::string_view rateText = text.substr(tab2 + 1);
    double rate = 0;
    const auto [stop, parsed] = std::from_chars(rateText.data(), rateText.data() + rateText.size(), rate);
    if (parsed != std::errc() || stop != rateText.data() + rateText.size()) fail(name, line, "the rate is not a number");
    if (const char* fault = entryFault(word, reading, rate)) fail(name, line, fault);
    if (!previous.empty() && previous >= word) fail(name, line, "the word is out of order or the same as the one before");
    dictionary.entries_.push_back({static_cast<std::uint32_t>(pos), static_cast<std::uint8_t>(word.size()),
                                   static_cast<std::uint16_t>(reading.size()), static_cast<float>(std::log(rate))});
    previous = word;
    pos = end + 1;
  }
  return dictionary;
}

PinyinDictionary::Match PinyinDictionary::Lookup(std::string_view word) const {
  auto at = std::lower_bound(entries_.begin(), entries_.end(), word,
                             [this](const Entry& e, std::string_view w) { return this->word(e) < w; });
  Match match;
  if (at != entries_.end() && this->word(*at) == word) {
    match.Exact = Found{std::string_view(bytes_).substr(at->Word + at->WordBytes + 1, at->ReadingBytes), at->LogRate};
    ++at;
  }
  // Every longer word that begins with `word` sorts right behind it.
  match.Longer = at != entries_.end() && this->word(*at).starts_with(word);
  return match;
}

void WritePinyinDictionary(const std::filesystem::path& file, std::vector<PinyinEntry> entries) {
  std::sort(entries.begin(), entries.end(), [](const PinyinEntry& a, const PinyinEntry& b) { return a.Word < b.Word; });
  std::string out(PinyinDictionary::kFirstLine);
  out += '\n';
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PinyinEntry& e = entries[i];
    if (i > 0 && e.Word == entries[i - 1].Word) throw PinyinDictionaryError("the word " + e.Word + " is given twice");
    if (const char* fault = entryFault(e.Word, e.Reading, e.Rate))
      throw PinyinDictionaryError("the word " + e.Word + " cannot be written: " + fault);
    char rate[32];
    const auto written = std::to_chars(rate, rate + sizeof rate, e.Rate);
    out.append(e.Word).append(1, '\t').append(e.Reading).append(1, '\t').append(rate, written.ptr).append(1, '\n');
  }
  std::filesystem::path part = file;
  part += ".part";
  {
    std::ofstream stream(part, std::ios::binary | std::ios::trunc);
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!stream.flush()) throw PinyinDictionaryError(part.string() + ": cannot be written");
  }
  std::error_code error;
  std::filesystem::rename(part, file, error);
  if (error) throw PinyinDictionaryError(file.string() + ": cannot be put in place (" + error.message() + ")");
}

std::filesystem::path PinyinDictionaryBesideProgram() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return program.parent_path() / PinyinDictionary::kFileName;
}

}  // namespace text
