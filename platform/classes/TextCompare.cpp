#include "platform/classes/TextCompare.h"

#include "platform/text/AnsiText.h"

namespace classes {
namespace {

// Walks one string byte by byte, yielding each byte folded unless it is a trail byte.
class FoldedBytes {
public:
  explicit FoldedBytes(std::string_view s) : s_(s) {}

  bool atEnd() const { return pos_ == s_.size(); }

  unsigned char next() {
    const auto byte = static_cast<unsigned char>(s_[pos_++]);
    // Bytes that cannot be trail bytes are no letters either, so any byte after a lead
    // byte can be taken as its trail.
    const bool trail = afterLead_;
    afterLead_ = !trail && text::isLeadByte(byte);
    if (!trail && byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte - 'A' + 'a');
    return byte;
  }

private:
  std::string_view s_;
  std::size_t pos_ = 0;
  bool afterLead_ = false;
};

}  // namespace

int compareText(std::string_view a, std::string_view b) {
  FoldedBytes left(a), right(b);
  while (!left.atEnd() && !right.atEnd()) {
    const unsigned char l = left.next(), r = right.next();
    if (l != r) return l < r ? -1 : 1;
  }
  if (left.atEnd() == right.atEnd()) return 0;
  return left.atEnd() ? -1 : 1;
}

}  // namespace classes
