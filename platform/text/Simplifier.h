#pragma once
// Traditional -> simplified Chinese through OpenCC's t2s conversion, kept to characters that
// code page 936 can hold wherever the original offers one. The collection builder and the
// reader's searches share it, so that a search finds text exactly as the builder wrote it.

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

class Simplifier {
 public:
  Simplifier();
  ~Simplifier();
  Simplifier(const Simplifier&) = delete;
  Simplifier& operator=(const Simplifier&) = delete;

  // The simplified text. A character whose simplified form code page 936 lacks stays as given
  // when the code page holds that form; `kept`, when given, counts those.
  std::string operator()(std::string_view utf8, std::size_t* kept = nullptr) const;

 private:
  void* converter_;
};

}  // namespace text
