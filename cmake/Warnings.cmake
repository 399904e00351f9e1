# Every target of the project gets the same warnings; third-party code does not.
add_library(zentara_warnings INTERFACE)
target_compile_options(zentara_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow
  # C++ only: C sources (Wayland protocol glue) would be warned of them.
  $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Woverloaded-virtual>
  -Wcast-align -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${ZENTARA_WERROR}>:-Werror>)
# GCC 12 reports impossible copies inside the standard library's strings once
# it inlines them at -O2 and above (its bugs 105329 and 105651); they are not
# in our code, so they are left out of optimised builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
  target_compile_options(zentara_warnings INTERFACE
    $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict -Wno-stringop-overflow>)
endif()
