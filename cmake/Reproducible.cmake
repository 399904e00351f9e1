# Two builds of one commit give the same bytes, wherever their folders are.
#
# ZENTARA_SOURCE_DATE_EPOCH is the time every package carries: SOURCE_DATE_EPOCH
# when it is set, else the time of the last commit, else a fixed time (sources
# without git). A new commit configures again, so that the time follows it.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ZENTARA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  # 2026-01-01 00:00:00 UTC
  set(ZENTARA_SOURCE_DATE_EPOCH 1767225600)
  find_package(Git QUIET)
  if(Git_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE _result)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path logs/HEAD
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE _head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(_result EQUAL 0 AND _commit_time MATCHES "^[0-9]+$")
      set(ZENTARA_SOURCE_DATE_EPOCH ${_commit_time})
    endif()
    if(EXISTS "${_head_log}")
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_head_log})
    endif()
  endif()
endif()
if(NOT ZENTARA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be seconds since 1970, not \"${ZENTARA_SOURCE_DATE_EPOCH}\"")
endif()

# The builds that make packages leave the source and build folders out of what
# the compiler writes (file names in debug information and __FILE__). Other
# builds keep real paths, for their debuggers and sanitizer reports.
if(WIN32 OR ZENTARA_LINUX_PROGRAM)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()

# GNU ld stamps each Windows file's header with the time of the link, unless
# SOURCE_DATE_EPOCH names another.
if(WIN32)
  set(_stamped ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${ZENTARA_SOURCE_DATE_EPOCH})
  set(CMAKE_C_LINKER_LAUNCHER ${_stamped})
  set(CMAKE_CXX_LINKER_LAUNCHER ${_stamped})
endif()
