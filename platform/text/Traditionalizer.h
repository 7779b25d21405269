#pragma once
// Simplified -> traditional Chinese through OpenCC's s2t conversion, the inverse of the
// collection's own (Simplifier.h): the source view shows a poem whose source writes simplified
// characters in the traditional ones the other sources use.

#include <string>
#include <string_view>

namespace text {

class Traditionalizer {
 public:
  Traditionalizer();
  ~Traditionalizer();
  Traditionalizer(const Traditionalizer&) = delete;
  Traditionalizer& operator=(const Traditionalizer&) = delete;

  // UTF-8 in, UTF-8 out.
  std::string operator()(std::string_view utf8) const;

 private:
  void* converter_;
};

}  // namespace text
