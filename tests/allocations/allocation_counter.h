#pragma once
// Counts the allocations made through operator new (every form) while an
// AllocationCounter lives, through the allocation hook of tests/support.
#include <cstddef>

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  size_t Count() const;
};
