# The portable zip: Zentara.exe, images/ (artwork and Quillet.dll), README and licence.
# The same layout is staged in ${ZENTARA_DIST} at build time, so the program
# can be run and tested from the build tree exactly as from the unpacked zip.
set(ZENTARA_DIST ${CMAKE_BINARY_DIR}/dist CACHE INTERNAL "")

add_custom_target(zentara_artwork ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/images ${ZENTARA_DIST}/images
  COMMENT "Staging the artwork")

install(TARGETS Zentara RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION images)
if(TARGET Quillet)
  install(TARGETS Quillet RUNTIME DESTINATION images)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zentara)
set(CPACK_PACKAGE_VENDOR "KOVA")
set(_zip_name "Zentara-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_FILE_NAME ${_zip_name})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

# The build makes the zip itself, so a build tree always holds what a user downloads.
set(ZENTARA_ZIP ${CMAKE_BINARY_DIR}/package/${_zip_name}.zip CACHE INTERNAL "")
set(_zip_inputs Zentara zentara_artwork)
if(TARGET Quillet)
  list(APPEND _zip_inputs Quillet)
endif()
add_custom_target(zentara_zip ALL
  COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake -B ${CMAKE_BINARY_DIR}/package
          > ${CMAKE_BINARY_DIR}/package.log
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Packing ${_zip_name}.zip")
add_dependencies(zentara_zip ${_zip_inputs})
