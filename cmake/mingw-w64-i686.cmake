# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# Every processor that runs Windows 8 has SSE2; the blend's vector path needs it,
# and floating point goes through it too rather than the x87 stack. Windows
# keeps a 32-bit thread's stack only 4-byte aligned (callbacks such as a window
# procedure arrive that way), so every function that keeps 16-byte SSE values
# on the stack aligns its own frame first.
set(_x86_flags "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_C_FLAGS_INIT "${_x86_flags}")
set(CMAKE_CXX_FLAGS_INIT "${_x86_flags}")
