#include "allocation_counter.h"

#include <atomic>

#include "allocation_hook.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<size_t> allocations{0};

void CountAllocation(std::size_t /*size*/) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1);
}

}  // namespace

AllocationCounter::AllocationCounter() {
  g_allocationHook = &CountAllocation;
  allocations = 0;
  counting = true;
}

AllocationCounter::~AllocationCounter() {
  counting = false;
}

size_t AllocationCounter::Count() const {
  return allocations.load();
}
