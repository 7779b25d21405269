#include "app/RandomPoem.h"

#include <memory>
#include <random>

#include "app/Lookup.h"
#include "app/Statements.h"
#include "data/access/UniQuery.h"

namespace {

constexpr int kDraws = 16;

}  // namespace

RandomPoem::RandomPoem(TUniConnection& catalogue, Source source) : catalogue_(catalogue), source_(std::move(source)) {
  if (!source_) source_ = [engine = std::mt19937_64(std::random_device()())]() mutable { return engine(); };
}

std::uint64_t RandomPoem::below(std::uint64_t count) {
  // The top of the range that holds whole copies of 0 .. count - 1; above it a draw is biased.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % count;
  for (;;)
    if (const std::uint64_t draw = source_(); draw < limit) return draw % count;
}

std::optional<long long> RandomPoem::Choose() {
  if (!ranged_) {
    const auto range = Lookup(catalogue_, statements::PoemRange());
    if (!range->Eof() && !range->Fields()[0]->IsNull()) {
      first_ = range->Fields()[0]->AsLargeInt();
      last_ = range->Fields()[1]->AsLargeInt();
    }
    ranged_ = true;
  }
  if (!first_) return std::nullopt;
  const auto span = static_cast<std::uint64_t>(*last_ - *first_) + 1;
  for (int i = 0; i < kDraws; ++i) {
    const long long id = *first_ + static_cast<long long>(below(span));
    if (!Lookup(catalogue_, statements::PoemNumber(id))->Eof()) return id;
  }
  if (!count_) count_ = Lookup(catalogue_, statements::PoemCount())->Fields()[0]->AsLargeInt();
  if (*count_ <= 0) return std::nullopt;
  const auto at = Lookup(catalogue_, statements::PoemNumberAt(static_cast<long long>(below(static_cast<std::uint64_t>(*count_)))));
  if (at->Eof()) return std::nullopt;
  return at->Fields()[0]->AsLargeInt();
}
