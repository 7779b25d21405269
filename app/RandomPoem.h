#pragma once
// A poem chosen at random from the whole collection, every poem equally likely whatever the gaps
// between their numbers: a number drawn evenly from the range is taken when a poem has it and
// drawn again when none does; after a few misses (a collection of wide gaps) the poem at an
// evenly drawn place in number order is taken instead, which is as even and costs a scan.

#include <cstdint>
#include <functional>
#include <optional>

class TUniConnection;

class RandomPoem {
 public:
  // Evenly distributed 64-bit numbers.
  using Source = std::function<std::uint64_t()>;

  // On the catalogue `catalogue`; `source` defaults to one seeded from the system.
  explicit RandomPoem(TUniConnection& catalogue, Source source = {});

  // The number of the chosen poem; nothing in an empty collection.
  std::optional<long long> Choose();

 private:
  // An even draw from 0 to `count` - 1.
  std::uint64_t below(std::uint64_t count);

  TUniConnection& catalogue_;
  Source source_;
  // The collection does not change while the reader runs: its range is read once, and counted
  // (a scan) only when a place must be drawn.
  bool ranged_ = false;
  std::optional<long long> first_, last_, count_;
};
