#include "platform/text/Traditionalizer.h"

#include <opencc/opencc.h>

#include <memory>
#include <stdexcept>

namespace text {

Traditionalizer::Traditionalizer() : converter_(opencc_open(OPENCC_DEFAULT_CONFIG_SIMP_TO_TRAD)) {
  if (converter_ == reinterpret_cast<opencc_t>(-1))
    throw std::runtime_error(std::string("cannot load OpenCC's s2t conversion: ") + opencc_error());
}

Traditionalizer::~Traditionalizer() { opencc_close(converter_); }

std::string Traditionalizer::operator()(std::string_view utf8) const {
  if (utf8.empty()) return {};
  const std::unique_ptr<char, void (*)(char*)> out(opencc_convert_utf8(converter_, utf8.data(), utf8.size()),
                                                   opencc_convert_utf8_free);
  if (!out) throw std::runtime_error(std::string("OpenCC failed: ") + opencc_error());
  return out.get();
}

}  // namespace text
