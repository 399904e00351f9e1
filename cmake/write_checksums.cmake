# Writes OUTPUT as `sha256sum -c` reads it: a line per file, its SHA-256 and
# its name, the files lying beside OUTPUT.
#   cmake -DOUTPUT=<SHA256SUMS> -DFILES=<file;...> -P write_checksums.cmake
cmake_minimum_required(VERSION 3.25)
set(_lines "")
foreach(_file IN LISTS FILES)
  file(SHA256 ${_file} _hash)
  get_filename_component(_name ${_file} NAME)
  string(APPEND _lines "${_hash}  ${_name}\n")
endforeach()
file(WRITE ${OUTPUT} "${_lines}")
