# The Debian package of the X11 program, zentara_<version>_<arch>.deb in the
# build folder: the program and its images folder (artwork and libquillet.so)
# under /usr/lib/zentara, the command /usr/bin/zentara, a desktop entry, an
# autostart entry (a conffile), the icon in the hicolor theme, AppStream
# metainfo, the manual page, and the Debian changelog and copyright. Its
# library dependencies come from the binaries (dpkg-shlibdeps, Debian package
# dpkg-dev); the GSettings backend that keeps the desktop's rotation setting is
# named by hand, since nothing links against it.
#
# The package is a real build output, made again only when an input changed.
# CPack runs on its own install script rather than on the project, because
# CPack's project install builds the project first, from inside this build.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# KOVA publishes no mail domain yet: the reserved top-level domain "invalid" says so.
set(ZENTARA_DEB_MAINTAINER "Zentara developers <zentara@kova.invalid>" CACHE STRING
    "The package's Maintainer field")
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

set(_x11 ${PROJECT_SOURCE_DIR}/src/app/x11)
set(_desktop ${_x11}/zentara.desktop)
set(_autostart ${_x11}/zentara-autostart.desktop)
# The metainfo names the project's home page and screenshot where they are published.
set(ZENTARA_HOMEPAGE_URL "" CACHE STRING "The project's public home page, named in the metainfo")
set(ZENTARA_SCREENSHOT_URL "" CACHE STRING "Where docs/screenshots/linux-panel.png is published, for the metainfo")
set(METAINFO_TEMPLATE ${_x11}/invalid.kova.zentara.metainfo.xml.in)
set(METAINFO_OUTPUT ${CMAKE_BINARY_DIR}/deb/invalid.kova.zentara.metainfo.xml)
set(METAINFO_HOMEPAGE "${ZENTARA_HOMEPAGE_URL}")
set(METAINFO_SCREENSHOT "${ZENTARA_SCREENSHOT_URL}")
include(${CMAKE_CURRENT_LIST_DIR}/write_metainfo.cmake)
set(_metainfo ${METAINFO_OUTPUT})
set(_changelog ${CMAKE_CURRENT_LIST_DIR}/deb/changelog)

# The manual page carries the project's version.
configure_file(${_x11}/zentara.1.in ${CMAKE_BINARY_DIR}/deb/man/zentara.1 @ONLY)

# The copyright file in Debian's machine-readable format, made from LICENSE:
# its copyright line, and its text as the Expat licence's paragraph.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _license)
if(NOT _license MATCHES "^MIT License\n+Copyright \\(c\\) ([^\n]+)\n+(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE is not the MIT licence with one copyright line; cmake/DebianPackage.cmake must describe it")
endif()
set(_holders "${CMAKE_MATCH_1}")
string(REGEX REPLACE "\n\n+" "\n.\n" _text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " _text "${_text}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/deb/doc/copyright CONTENT [[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Zentara
Upstream-Contact: ${ZENTARA_DEB_MAINTAINER}

Files: *
Copyright: ${_holders}
License: Expat
 ${_text}
]])

# Debian wants the changelog and the manual page compressed at gzip's best,
# without a name or time stamp (reproducible).
set(_gz_changelog ${CMAKE_BINARY_DIR}/deb/doc/changelog.gz)
set(_gz_manual ${CMAKE_BINARY_DIR}/deb/man/zentara.1.gz)
add_custom_command(OUTPUT ${_gz_changelog}
  COMMAND ${CMAKE_COMMAND} -E copy ${_changelog} ${CMAKE_BINARY_DIR}/deb/doc/changelog
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/deb/doc/changelog
  DEPENDS ${_changelog}
  VERBATIM)
add_custom_command(OUTPUT ${_gz_manual}
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/deb/man/zentara.1
  DEPENDS ${CMAKE_BINARY_DIR}/deb/man/zentara.1
  VERBATIM)
install(TARGETS zentara RUNTIME DESTINATION lib/zentara COMPONENT zentara)
install(TARGETS quillet LIBRARY DESTINATION lib/zentara/images COMPONENT zentara
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION lib/zentara/images COMPONENT zentara)
install(FILES ${CMAKE_BINARY_DIR}/deb/bin/zentara DESTINATION bin COMPONENT zentara)
install(FILES ${_desktop} DESTINATION share/applications COMPONENT zentara)
install(FILES ${_autostart} DESTINATION /etc/xdg/autostart RENAME zentara.desktop COMPONENT zentara)
install(DIRECTORY ${_icons}/ DESTINATION share/icons/hicolor COMPONENT zentara)
install(FILES ${_metainfo} DESTINATION share/metainfo COMPONENT zentara)
install(FILES ${_gz_manual} DESTINATION share/man/man1 COMPONENT zentara)
install(FILES ${CMAKE_BINARY_DIR}/deb/doc/copyright ${_gz_changelog} DESTINATION share/doc/zentara COMPONENT zentara)

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
set(CPACK_PACKAGE_CONTACT ${ZENTARA_DEB_MAINTAINER})
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
# Added to by dpkg-shlibdeps' list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "dconf-gsettings-backend | gsettings-backend")
# The accelerometer service that automatic rotation follows.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS iio-sensor-proxy)
# What dpkg keeps through upgrades and removes only on purge.
file(WRITE ${CMAKE_BINARY_DIR}/deb/control/conffiles "/etc/xdg/autostart/zentara.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/deb/control/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME ${_deb_name})
include(CPack)

file(GLOB_RECURSE _artwork CONFIGURE_DEPENDS LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/images/*)
add_custom_command(OUTPUT ${ZENTARA_DEB}
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS zentara quillet ${_artwork} ${_icon_stamp} ${_desktop} ${_autostart} ${_metainfo} ${_gz_manual}
          ${_gz_changelog} ${CMAKE_BINARY_DIR}/deb/doc/copyright
          ${_install_script} ${CMAKE_BINARY_DIR}/cmake_install.cmake ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${_deb_name}"
  VERBATIM)
add_custom_target(zentara_deb ALL DEPENDS ${ZENTARA_DEB})
