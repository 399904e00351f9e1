#pragma once
#include <cstdint>

namespace quillet::win32 {

// The kernel32 services of the entry table, with the shapes it asks for.
void QueryWindowsVersion(uint32_t* major, uint32_t* minor);
void PauseThread(uint32_t milliseconds);
void* AllocateFromProcessHeap(uint32_t bytes);
void ReleaseToProcessHeap(void* block);

}  // namespace quillet::win32
