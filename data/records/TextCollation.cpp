#include "data/records/TextCollation.h"

#include <unicode/ucol.h>

#include "platform/classes/Exceptions.h"
#include "platform/text/AnsiText.h"

namespace {

// A collator is not to be shared between threads while it compares; one set per thread.
class Collators {
 public:
  Collators() : exact_(open(UCOL_TERTIARY)), noCase_(open(UCOL_SECONDARY)) {}
  ~Collators() {
    ucol_close(exact_);
    ucol_close(noCase_);
  }
  Collators(const Collators&) = delete;
  Collators& operator=(const Collators&) = delete;

  const UCollator* get(bool caseInsensitive) const { return caseInsensitive ? noCase_ : exact_; }

 private:
  // Case differences are tertiary: comparing at the secondary strength ignores them.
  static UCollator* open(UColAttributeValue strength) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("zh", &status);
    if (U_FAILURE(status)) throw Exception("Cannot open the Chinese collation: " + AnsiString(u_errorName(status)));
    ucol_setStrength(collator, strength);
    return collator;
  }

  UCollator* exact_;
  UCollator* noCase_;
};

const Collators& collators() {
  thread_local const Collators perThread;
  return perThread;
}

}  // namespace

int CollateText(std::u16string_view a, std::u16string_view b, bool caseInsensitive) {
  const UCollationResult result =
      ucol_strcoll(collators().get(caseInsensitive), a.data(), static_cast<std::int32_t>(a.size()), b.data(),
                   static_cast<std::int32_t>(b.size()));
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

int CollateText(std::string_view a, std::string_view b, bool caseInsensitive) {
  return CollateText(text::ansiToWide(a), text::ansiToWide(b), caseInsensitive);
}
