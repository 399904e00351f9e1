# The Debian package of the X11 program, zentara_<version>_<arch>.deb in the
# build folder: the program and its images folder (artwork and libquillet.so)
# under /usr/lib/zentara, the command /usr/bin/zentara, a desktop entry and the
# icon in the hicolor theme. Its dependencies come from the binaries
# (dpkg-shlibdeps, Debian package dpkg-dev).
#
# The package is a real build output, made again only when an input changed.
# CPack runs on its own install script rather than on the project, because
# CPack's project install builds the project first, from inside this build.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE _arch OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(_deb_name zentara_${PROJECT_VERSION}_${_arch}.deb)
set(ZENTARA_DEB ${CMAKE_BINARY_DIR}/${_deb_name} CACHE INTERNAL "")

# The icon's pictures, one size per hicolor folder.
set(_ico ${PROJECT_SOURCE_DIR}/art/zentara.ico)
set(_icons ${CMAKE_BINARY_DIR}/deb/icons)
set(_icon_script ${PROJECT_SOURCE_DIR}/art/icon_pngs.py)
set(_icon_stamp ${CMAKE_BINARY_DIR}/deb/icons.stamp)
add_custom_command(OUTPUT ${_icon_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_icons}
  COMMAND ${Python3_EXECUTABLE} ${_icon_script} ${_ico} ${_icons} zentara
  COMMAND ${CMAKE_COMMAND} -E touch ${_icon_stamp}
  DEPENDS ${_ico} ${_icon_script} ${PROJECT_SOURCE_DIR}/art/pngio.py
  COMMENT "Writing the icon's pictures for the hicolor theme"
  VERBATIM)

# /usr/bin/zentara points at the program; relative, so it also resolves in an
# unpacked copy of the package. The program finds its images beside its own
# resolved path.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/deb/bin)
file(CREATE_LINK ../lib/zentara/zentara ${CMAKE_BINARY_DIR}/deb/bin/zentara SYMBOLIC)

set(_desktop ${PROJECT_SOURCE_DIR}/src/app/x11/zentara.desktop)
install(TARGETS zentara RUNTIME DESTINATION lib/zentara COMPONENT zentara)
install(TARGETS quillet LIBRARY DESTINATION lib/zentara/images COMPONENT zentara
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION lib/zentara/images COMPONENT zentara)
install(FILES ${CMAKE_BINARY_DIR}/deb/bin/zentara DESTINATION bin COMPONENT zentara)
install(FILES ${_desktop} DESTINATION share/applications COMPONENT zentara)
install(DIRECTORY ${_icons}/ DESTINATION share/icons/hicolor COMPONENT zentara)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/zentara RENAME copyright COMPONENT zentara)

set(_install_script ${CMAKE_BINARY_DIR}/deb/install.cmake)
file(CONFIGURE OUTPUT ${_install_script} @ONLY CONTENT [[
# Installs the package's files below /usr in CPack's staging folder (DESTDIR).
set(CMAKE_INSTALL_PREFIX /usr)
set(CMAKE_INSTALL_COMPONENT zentara)
set(CMAKE_INSTALL_DO_STRIP 1)
include(@CMAKE_BINARY_DIR@/cmake_install.cmake)
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALL_SCRIPTS ${_install_script})
set(CPACK_PACKAGE_CONTACT "Zentara developers <zentara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "floating panel that turns the screen and switches automatic rotation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "A small utility for tablets and convertibles on X11 desktops: a floating,\n"
    "see-through panel at the edge of the screen whose buttons turn the display\n"
    "a quarter turn left or right (touchscreens and pens follow) and switch the\n"
    "desktop's automatic screen rotation on and off.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${_arch})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME ${_deb_name})
include(CPack)

file(GLOB_RECURSE _artwork CONFIGURE_DEPENDS LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/images/*)
add_custom_command(OUTPUT ${ZENTARA_DEB}
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS zentara quillet ${_artwork} ${_icon_stamp} ${_desktop} ${PROJECT_SOURCE_DIR}/LICENSE
          ${_install_script} ${CMAKE_BINARY_DIR}/cmake_install.cmake ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${_deb_name}"
  VERBATIM)
add_custom_target(zentara_deb ALL DEPENDS ${ZENTARA_DEB})
