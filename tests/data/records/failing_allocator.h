#pragma once
// The test program's own operator new, which fails on request as a machine out of memory
// would: every allocation of exactly `bytes` bytes raises std::bad_alloc until it is reset.

#include <cstddef>

void FailAllocationsOf(std::size_t bytes);
void StopFailingAllocations();

// Fails allocations of one size while it lives.
class AllocationFailure {
 public:
  explicit AllocationFailure(std::size_t bytes) { FailAllocationsOf(bytes); }
  ~AllocationFailure() { StopFailingAllocations(); }
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;
};
