add_library(zentara_sanitizers INTERFACE)
if(ZENTARA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_compile_options(zentara_sanitizers INTERFACE ${_san})
  target_link_options(zentara_sanitizers INTERFACE ${_san})
endif()
# Fuzz builds give every target of the project libFuzzer's coverage
# instrumentation; the fuzz targets themselves link the fuzzer's main.
if(ZENTARA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZENTARA_FUZZ needs Clang (the fuzz preset sets clang++-14)")
  endif()
  target_compile_options(zentara_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
