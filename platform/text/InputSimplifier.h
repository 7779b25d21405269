#pragma once
// Text a person types or pastes to search the collection, made simplified as the collection's
// text is. Only input that holds a character of traditional writing is converted: GB2312, the
// standard set of simplified characters, holds 乾, 於, 後 and a few more that t2s rewrites on
// their own, and a simplified input must reach the database exactly as typed.

#include <memory>
#include <string>
#include <string_view>

namespace text {

class Simplifier;

class InputSimplifier {
 public:
  InputSimplifier();
  ~InputSimplifier();
  InputSimplifier(const InputSimplifier&) = delete;
  InputSimplifier& operator=(const InputSimplifier&) = delete;

  // The whole input through the collection's conversion when one of its characters is a code
  // page 936 character outside GB2312 that the conversion changes; otherwise `utf8` unchanged.
  std::string operator()(std::string_view utf8) const;

  // Whether the conversion has been loaded: only the first input that needs it loads it.
  bool Loaded() const { return simplifier_ != nullptr; }

 private:
  const Simplifier* simplifier() const;
  mutable std::unique_ptr<Simplifier> simplifier_;
  mutable bool unavailable_ = false;
};

}  // namespace text
