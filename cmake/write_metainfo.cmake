# Writes the AppStream metainfo from its template with the project's public
# addresses where they are known: METAINFO_HOMEPAGE (its home page) and
# METAINFO_SCREENSHOT (where docs/screenshots/linux-panel.png is published)
# each add their element; an empty one leaves it out, since software centres
# fetch what the metainfo names. Included by the build, or on its own:
#   cmake -DMETAINFO_TEMPLATE=... -DMETAINFO_OUTPUT=... [-DMETAINFO_HOMEPAGE=url]
#         [-DMETAINFO_SCREENSHOT=url] -P write_metainfo.cmake
foreach(_address METAINFO_HOMEPAGE METAINFO_SCREENSHOT)
  string(REPLACE "&" "&amp;" ${_address} "${${_address}}")
endforeach()
set(METAINFO_LINKS "")
if(METAINFO_HOMEPAGE)
  string(APPEND METAINFO_LINKS "  <url type=\"homepage\">${METAINFO_HOMEPAGE}</url>\n")
endif()
if(METAINFO_SCREENSHOT)
  string(APPEND METAINFO_LINKS
    "  <screenshots>\n"
    "    <screenshot type=\"default\">\n"
    "      <caption>The panel, expanded, at the right edge of the screen</caption>\n"
    "      <image type=\"source\">${METAINFO_SCREENSHOT}</image>\n"
    "    </screenshot>\n"
    "  </screenshots>\n")
endif()
configure_file(${METAINFO_TEMPLATE} ${METAINFO_OUTPUT} @ONLY)
