# Every target of the project gets the same warnings; third-party code does not.
add_library(zentara_warnings INTERFACE)
target_compile_options(zentara_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${ZENTARA_WERROR}>:-Werror>)
