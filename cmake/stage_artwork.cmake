# Copies the artwork into the staged program folder and removes pictures that
# left the source tree; the rotation library, which the build puts there, stays.
#   cmake -DSOURCE=<images> -DDEST=<dist/images> -DSTAMP=<file> -P stage_artwork.cmake
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE _wanted LIST_DIRECTORIES false RELATIVE ${SOURCE} ${SOURCE}/*)
file(GLOB_RECURSE _staged LIST_DIRECTORIES false RELATIVE ${DEST} ${DEST}/*.png)
foreach(_file IN LISTS _staged)
  if(NOT _file IN_LIST _wanted)
    file(REMOVE ${DEST}/${_file})
  endif()
endforeach()
file(COPY ${SOURCE}/ DESTINATION ${DEST})
file(TOUCH ${STAMP})
