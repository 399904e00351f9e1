#pragma once
// Counts the allocations made through operator new (every form) while an
// AllocationCounter lives; this binary replaces the global operator new.
#include <cstddef>

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  size_t Count() const;
};
