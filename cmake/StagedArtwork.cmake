# zentara_stage_artwork(DEST): the target zentara_artwork (built by default)
# copies the artwork of images/ into DEST, again only when a picture changed,
# and removes pictures that left the source tree.
function(zentara_stage_artwork dest)
  file(GLOB_RECURSE _artwork CONFIGURE_DEPENDS LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/images/*)
  set(_stamp ${CMAKE_BINARY_DIR}/artwork.stamp)
  set(_script ${PROJECT_SOURCE_DIR}/cmake/stage_artwork.cmake)
  add_custom_command(OUTPUT ${_stamp}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/images -DDEST=${dest} -DSTAMP=${_stamp}
            -P ${_script}
    DEPENDS ${_artwork} ${_script}
    COMMENT "Staging the artwork"
    VERBATIM)
  add_custom_target(zentara_artwork ALL DEPENDS ${_stamp})
endfunction()
