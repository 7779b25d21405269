#include "tools/collection/Simplifier.h"

#include <opencc/opencc.h>

#include <memory>
#include <stdexcept>

namespace collection {

Simplifier::Simplifier() : converter_(opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP)) {
  if (converter_ == reinterpret_cast<opencc_t>(-1))
    throw std::runtime_error(std::string("cannot load OpenCC's t2s conversion: ") + opencc_error());
}

Simplifier::~Simplifier() { opencc_close(converter_); }

std::string Simplifier::operator()(std::string_view utf8) const {
  // Text that is plain ASCII, or empty, has nothing to simplify.
  bool ascii = true;
  for (const char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  const std::unique_ptr<char, void (*)(char*)> out(opencc_convert_utf8(converter_, utf8.data(), utf8.size()),
                                                   opencc_convert_utf8_free);
  if (!out) throw std::runtime_error(std::string("OpenCC failed: ") + opencc_error());
  return std::string(out.get());
}

}  // namespace collection
