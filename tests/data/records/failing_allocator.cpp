#include "tests/data/records/failing_allocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> failingSize{0};

void* allocate(std::size_t bytes) {
  if (bytes != 0 && bytes == failingSize.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* memory = std::malloc(bytes != 0 ? bytes : 1)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void FailAllocationsOf(std::size_t bytes) { failingSize = bytes; }
void StopFailingAllocations() { failingSize = 0; }

void* operator new(std::size_t bytes) { return allocate(bytes); }
void* operator new[](std::size_t bytes) { return allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept { return operator new(bytes, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
