#pragma once
// Traditional -> simplified Chinese through OpenCC's t2s conversion.

#include <string>
#include <string_view>

namespace collection {

class Simplifier {
 public:
  Simplifier();
  ~Simplifier();
  Simplifier(const Simplifier&) = delete;
  Simplifier& operator=(const Simplifier&) = delete;

  std::string operator()(std::string_view utf8) const;

 private:
  void* converter_;
};

}  // namespace collection
