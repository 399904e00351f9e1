# The release of one architecture, in package/: a portable zip and an installer
# of the same release folder (Zentara.exe, images/ with the artwork and
# Quillet.dll, README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt, the texts
# with Windows line ends), and SHA256SUMS of both. The program and its images
# are also staged in ${ZENTARA_DIST}, so it can be run and tested from the
# build tree as from the unpacked zip.
#
# All are real build outputs: they are made again only when an input changed,
# and two builds of one commit make the same bytes (Reproducible.cmake).
set(ZENTARA_DIST ${CMAKE_BINARY_DIR}/dist CACHE INTERNAL "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZENTARA_ARCH win64)
  set(_installer_target amd64-unicode)
else()
  set(ZENTARA_ARCH win32)
  set(_installer_target x86-unicode)
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(ZENTARA_MAKENSIS makensis REQUIRED)

include(StagedArtwork)
zentara_stage_artwork(${ZENTARA_DIST}/images)
file(GLOB_RECURSE _artwork CONFIGURE_DEPENDS LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/images/*)

# The texts a Windows user reads, with Windows line ends.
set(_windows ${PROJECT_SOURCE_DIR}/packaging/windows)
set(_texts ${CMAKE_BINARY_DIR}/package-texts)
configure_file(${_windows}/README.txt.in ${_texts}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${_windows}/THIRD-PARTY-NOTICES.txt ${_texts}/THIRD-PARTY-NOTICES.txt @ONLY NEWLINE_STYLE CRLF)
set(_docs ${_texts}/README.txt ${_texts}/LICENSE.txt ${_texts}/THIRD-PARTY-NOTICES.txt)

set(_name Zentara-${PROJECT_VERSION}-${ZENTARA_ARCH})
set(_packages ${CMAKE_BINARY_DIR}/package)
set(ZENTARA_ZIP ${_packages}/${_name}.zip CACHE INTERNAL "")
set(ZENTARA_INSTALLER ${_packages}/${_name}-setup.exe CACHE INTERNAL "")
set(ZENTARA_CHECKSUMS ${_packages}/SHA256SUMS CACHE INTERNAL "")
add_custom_command(OUTPUT ${ZENTARA_ZIP}
  COMMAND ${CMAKE_COMMAND} -DZIP=${ZENTARA_ZIP} -DIMAGES=${PROJECT_SOURCE_DIR}/images
          -DPROGRAM=$<TARGET_FILE:Zentara> -DLIBRARY=$<TARGET_FILE:Quillet> "-DDOCS=${_docs}"
          -DPYTHON=${Python3_EXECUTABLE} -DEPOCH=${ZENTARA_SOURCE_DATE_EPOCH}
          -P ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
  DEPENDS Zentara Quillet ${_artwork} ${_docs} ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
          ${CMAKE_CURRENT_LIST_DIR}/pack_zip.py
  COMMENT "Packing ${_name}.zip"
  VERBATIM)
# The installer holds the folder the zip was packed from.
add_custom_command(OUTPUT ${ZENTARA_INSTALLER}
  COMMAND ${ZENTARA_MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION} -DTARGET=${_installer_target}
          -DRELEASE=${_packages}/${_name} -DOUTFILE=${ZENTARA_INSTALLER}
          -DICON=${PROJECT_SOURCE_DIR}/art/zentara.ico ${_windows}/zentara.nsi
  DEPENDS ${ZENTARA_ZIP} ${_windows}/zentara.nsi ${PROJECT_SOURCE_DIR}/art/zentara.ico
  COMMENT "Making ${_name}-setup.exe"
  VERBATIM)
add_custom_command(OUTPUT ${ZENTARA_CHECKSUMS}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${ZENTARA_CHECKSUMS} "-DFILES=${ZENTARA_ZIP};${ZENTARA_INSTALLER}"
          -P ${CMAKE_CURRENT_LIST_DIR}/write_checksums.cmake
  DEPENDS ${ZENTARA_ZIP} ${ZENTARA_INSTALLER} ${CMAKE_CURRENT_LIST_DIR}/write_checksums.cmake
  COMMENT "Writing SHA256SUMS"
  VERBATIM)
add_custom_target(zentara_zip ALL DEPENDS ${ZENTARA_ZIP})
add_custom_target(zentara_package ALL DEPENDS ${ZENTARA_INSTALLER} ${ZENTARA_CHECKSUMS})
# Where scripts find the zip without knowing the version.
file(GENERATE OUTPUT ${_packages}/zip-path.txt CONTENT "${ZENTARA_ZIP}\n")

# The same layout for `cmake --install`.
install(TARGETS Zentara RUNTIME DESTINATION .)
install(TARGETS Quillet RUNTIME DESTINATION images)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION images)
install(FILES ${_docs} DESTINATION .)
