# The portable zip, one per architecture: Zentara.exe, images/ (artwork and
# Quillet.dll), README and licence, under one top-level folder named like the zip.
# The program and its images are also staged in ${ZENTARA_DIST}, so it can be
# run and tested from the build tree as from the unpacked zip.
#
# Both are real build outputs: they are made again only when an input changed.
set(ZENTARA_DIST ${CMAKE_BINARY_DIR}/dist CACHE INTERNAL "")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZENTARA_ARCH win64)
else()
  set(ZENTARA_ARCH win32)
endif()

include(StagedArtwork)
zentara_stage_artwork(${ZENTARA_DIST}/images)
file(GLOB_RECURSE _artwork CONFIGURE_DEPENDS LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/images/*)

set(_zip_name Zentara-${PROJECT_VERSION}-${ZENTARA_ARCH})
set(ZENTARA_ZIP ${CMAKE_BINARY_DIR}/package/${_zip_name}.zip CACHE INTERNAL "")
set(_docs ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE)
add_custom_command(OUTPUT ${ZENTARA_ZIP}
  COMMAND ${CMAKE_COMMAND} -DZIP=${ZENTARA_ZIP} -DIMAGES=${PROJECT_SOURCE_DIR}/images
          -DPROGRAM=$<TARGET_FILE:Zentara> -DLIBRARY=$<TARGET_FILE:Quillet> "-DDOCS=${_docs}"
          -P ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
  DEPENDS Zentara Quillet ${_artwork} ${_docs} ${CMAKE_CURRENT_LIST_DIR}/make_zip.cmake
  COMMENT "Packing ${_zip_name}.zip"
  VERBATIM)
add_custom_target(zentara_zip ALL DEPENDS ${ZENTARA_ZIP})
# Where scripts find the zip without knowing the version.
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package/zip-path.txt CONTENT "${ZENTARA_ZIP}\n")

# The same layout for `cmake --install`.
install(TARGETS Zentara RUNTIME DESTINATION .)
install(TARGETS Quillet RUNTIME DESTINATION images)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION images)
install(FILES ${_docs} DESTINATION .)
