#pragma once
// A binary that links the object library zentara_allocation_hook has its
// global operator new (every form but the aligned ones, which keep their own
// pairing) replaced by one that takes its blocks from malloc and first calls
// the hook, when one is set: the hook may count the allocation, or throw
// std::bad_alloc to make it fail.
#include <atomic>
#include <cstddef>

extern std::atomic<void (*)(std::size_t size)> g_allocationHook;
