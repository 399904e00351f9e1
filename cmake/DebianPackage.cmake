# The files of the Debian package, as debian/rules installs them: the program
# and its images folder (artwork and libquillet.so) under /usr/lib/zentara, the
# command /usr/bin/zentara, a desktop entry, an autostart entry (debhelper makes
# it a conffile, as every file under /etc), the icon in the hicolor theme,
# AppStream metainfo and the manual page. debhelper adds the changelog and the
# copyright file from debian/, compresses, strips into the -dbgsym package and
# works out the library dependencies.
#
# The targets zentara_debs and zentara_debs_arm64 build the packages
# themselves, with dpkg-buildpackage on an exported copy of the tracked files,
# into ${ZENTARA_DEB_DIR} (cmake/build_debian_packages.py).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

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
add_custom_target(zentara_icons ALL DEPENDS ${_icon_stamp})

# /usr/bin/zentara points at the program; relative, so it also resolves in an
# unpacked copy of the package. The program finds its images beside its own
# resolved path.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/deb/bin)
file(CREATE_LINK ../lib/zentara/zentara ${CMAKE_BINARY_DIR}/deb/bin/zentara SYMBOLIC)

set(_x11 ${PROJECT_SOURCE_DIR}/src/app/x11)
# The metainfo names the project's home page and screenshot where they are published.
set(ZENTARA_HOMEPAGE_URL "" CACHE STRING "The project's public home page, named in the metainfo")
set(ZENTARA_SCREENSHOT_URL "" CACHE STRING "Where docs/screenshots/linux-panel.png is published, for the metainfo")
set(METAINFO_TEMPLATE ${_x11}/invalid.kova.zentara.metainfo.xml.in)
set(METAINFO_OUTPUT ${CMAKE_BINARY_DIR}/deb/invalid.kova.zentara.metainfo.xml)
set(METAINFO_HOMEPAGE "${ZENTARA_HOMEPAGE_URL}")
set(METAINFO_SCREENSHOT "${ZENTARA_SCREENSHOT_URL}")
include(${CMAKE_CURRENT_LIST_DIR}/write_metainfo.cmake)

# The manual page carries the project's version.
configure_file(${_x11}/zentara.1.in ${CMAKE_BINARY_DIR}/deb/man/zentara.1 @ONLY)

install(TARGETS zentara RUNTIME DESTINATION lib/zentara)
install(TARGETS quillet LIBRARY DESTINATION lib/zentara/images
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION lib/zentara/images)
install(FILES ${CMAKE_BINARY_DIR}/deb/bin/zentara DESTINATION bin)
install(FILES ${_x11}/zentara.desktop DESTINATION share/applications)
install(FILES ${_x11}/zentara-autostart.desktop DESTINATION /etc/xdg/autostart RENAME zentara.desktop)
install(DIRECTORY ${_icons}/ DESTINATION share/icons/hicolor)
install(FILES ${METAINFO_OUTPUT} DESTINATION share/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/deb/man/zentara.1 DESTINATION share/man/man1)

# The packages of this machine's architecture (with the source package) and
# of arm64 (cross-built); never part of the default build.
set(ZENTARA_DEB_DIR ${CMAKE_BINARY_DIR}/debian CACHE INTERNAL "")
set(ZENTARA_DEB_BUILD ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/build_debian_packages.py
    ${PROJECT_SOURCE_DIR} CACHE INTERNAL "")
add_custom_target(zentara_debs COMMAND ${ZENTARA_DEB_BUILD} ${ZENTARA_DEB_DIR} --source-package
                  USES_TERMINAL VERBATIM)
add_custom_target(zentara_debs_arm64 COMMAND ${ZENTARA_DEB_BUILD} ${ZENTARA_DEB_DIR} --arch arm64
                  USES_TERMINAL VERBATIM)
