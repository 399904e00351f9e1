# Debian's hardening, as a Debian package build gets it: the compile and link
# flags dpkg-buildflags gives with every hardening feature on (stack protector,
# fortified C library calls, read-only relocations bound at start), and
# position-independent executables. The user's own DEB_*FLAGS_APPEND and
# DEB_BUILD_MAINT_OPTIONS settings are honoured, as dpkg-buildflags reads them.
find_program(ZENTARA_DPKG_BUILDFLAGS_PROGRAM dpkg-buildflags REQUIRED)
foreach(_kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all $ENV{DEB_BUILD_MAINT_OPTIONS}"
            ${ZENTARA_DPKG_BUILDFLAGS_PROGRAM} --get ${_kind}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE _dpkg_${_kind} OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# The cache keeps the user's own flags; these go in front of them for this run.
set(CMAKE_C_FLAGS "${_dpkg_CPPFLAGS} ${_dpkg_CFLAGS} ${CMAKE_C_FLAGS}")
set(CMAKE_CXX_FLAGS "${_dpkg_CPPFLAGS} ${_dpkg_CXXFLAGS} ${CMAKE_CXX_FLAGS}")
foreach(_kind EXE SHARED MODULE)
  set(CMAKE_${_kind}_LINKER_FLAGS "${_dpkg_LDFLAGS} ${CMAKE_${_kind}_LINKER_FLAGS}")
endforeach()
message(STATUS "Hardening flags from dpkg-buildflags: ${_dpkg_CPPFLAGS} ${_dpkg_CXXFLAGS} ${_dpkg_LDFLAGS}")

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
