# Lays out the release folder and packs it into ZIP, the folder named like the zip.
#   cmake -DZIP=<zip> -DIMAGES=<images> -DPROGRAM=<exe> -DLIBRARY=<dll> -DDOCS=<files>
#         -DPYTHON=<python3> -DEPOCH=<seconds since 1970> -P make_zip.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(_packages ${ZIP} DIRECTORY)
get_filename_component(_name ${ZIP} NAME_WLE)
set(_folder ${_packages}/${_name})
file(REMOVE_RECURSE ${_folder})
file(COPY ${IMAGES}/ DESTINATION ${_folder}/images)
file(COPY ${LIBRARY} DESTINATION ${_folder}/images)
file(COPY ${PROGRAM} ${DOCS} DESTINATION ${_folder})
execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/pack_zip.py ${_folder} ${ZIP} ${EPOCH}
  RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "could not pack ${ZIP}")
endif()
