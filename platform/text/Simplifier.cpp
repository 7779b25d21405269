#include "platform/text/Simplifier.h"

#include <opencc/opencc.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/text/AnsiText.h"

namespace text {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The characters of a UTF-16 text, a surrogate pair being one.
std::vector<std::u16string_view> characters(std::u16string_view text) {
  std::vector<std::u16string_view> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t size = isHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
    out.push_back(text.substr(i, size));
    i += size;
  }
  return out;
}

std::size_t missingFromCodePage(std::u16string_view text) {
  std::size_t missing = 0;
  text::wideToAnsi(text, "?", &missing);
  return missing;
}

// Marks the code page lacks, written as the ones it holds that look and mean the same: the
// katakana middle dot of the Yuan qu titles is the dot that joins a tune and its title.
std::u16string_view equivalentMark(std::u16string_view c) {
  if (c == u"\u30FB") return u"\u00B7";
  if (c == u"\u00A0") return u" ";
  return c;
}

}  // namespace

Simplifier::Simplifier() : converter_(opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP)) {
  if (converter_ == reinterpret_cast<opencc_t>(-1))
    throw std::runtime_error(std::string("cannot load OpenCC's t2s conversion: ") + opencc_error());
}

Simplifier::~Simplifier() { opencc_close(converter_); }

std::string Simplifier::operator()(std::string_view utf8, std::size_t* kept) const {
  // Text that is plain ASCII, or empty, has nothing to simplify.
  bool ascii = true;
  for (const char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  const std::unique_ptr<char, void (*)(char*)> out(opencc_convert_utf8(converter_, utf8.data(), utf8.size()),
                                                   opencc_convert_utf8_free);
  if (!out) throw std::runtime_error(std::string("OpenCC failed: ") + opencc_error());
  const std::u16string simplified = text::utf8ToWide(out.get());
  if (missingFromCodePage(simplified) == 0) return std::string(out.get());

  // t2s turns one character into one; should a conversion ever change the count, its
  // characters no longer line up with the originals and only the marks are mended.
  const std::u16string original = text::utf8ToWide(utf8);
  const std::vector<std::u16string_view> from = characters(original);
  const std::vector<std::u16string_view> to = characters(simplified);
  const bool aligned = from.size() == to.size();
  std::u16string mended;
  mended.reserve(simplified.size());
  for (std::size_t i = 0; i < to.size(); ++i) {
    if (missingFromCodePage(to[i]) == 0) {
      mended += to[i];
    } else if (aligned && missingFromCodePage(from[i]) == 0) {
      mended += from[i];
      if (kept) ++*kept;
    } else {
      mended += equivalentMark(to[i]);
    }
  }
  return text::wideToUtf8(mended);
}

}  // namespace text
