# Cross build for 32-bit Windows with Debian's MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# Every processor that runs Windows 8 has SSE2; the blend's vector path needs it.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
