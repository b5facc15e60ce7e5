# SPDX-License-Identifier: GPL-3.0-or-later
# Kavelin Legacy Devanagari: Noto Sans Devanagari's glyphs under the glyph
# codes' character map, built at build time by build_font.py (fontTools and
# hb-shape, no network) into ${KAVELIN_FONT_DIR}, compiled into the resources
# under :/fonts/ and installed with its licence and a fontconfig alias.

include(GNUInstallDirs)

# Debian's python3, which python3-fonttools serves, before any other on PATH.
find_program(KAVELIN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(KAVELIN_PYTHON3 NAMES python3 REQUIRED)
find_program(KAVELIN_HB_SHAPE NAMES hb-shape REQUIRED)
set(KAVELIN_NOTO_DIR "/usr/share/fonts/truetype/noto" CACHE PATH
    "Folder holding NotoSansDevanagari-Regular.ttf and -Bold.ttf")
execute_process(COMMAND "${KAVELIN_PYTHON3}" -c "import fontTools.feaLib, fontTools.subset"
                RESULT_VARIABLE _kavelin_fonttools OUTPUT_QUIET ERROR_QUIET)
if(NOT _kavelin_fonttools EQUAL 0)
  message(FATAL_ERROR "${KAVELIN_PYTHON3} cannot import fontTools (Debian: python3-fonttools)")
endif()

set(_kavelin_font_src "${CMAKE_CURRENT_SOURCE_DIR}/fonts")
set(KAVELIN_FONT_DIR "${CMAKE_CURRENT_BINARY_DIR}/fonts" CACHE INTERNAL
    "Where the bundled font is built")
set(KAVELIN_FONT_FILES)
foreach(_style Regular Bold)
  set(_noto "${KAVELIN_NOTO_DIR}/NotoSansDevanagari-${_style}.ttf")
  if(NOT EXISTS "${_noto}")
    message(FATAL_ERROR "${_noto} is missing (Debian: fonts-noto-core)")
  endif()
  set(_out "${KAVELIN_FONT_DIR}/KavelinLegacyDevanagari-${_style}.ttf")
  add_custom_command(OUTPUT "${_out}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${KAVELIN_FONT_DIR}"
    COMMAND "${KAVELIN_PYTHON3}" "${_kavelin_font_src}/build_font.py"
            --table "${_kavelin_font_src}/glyph-table.tsv" --noto "${_noto}"
            --style ${_style} --out "${_out}" --hb-shape "${KAVELIN_HB_SHAPE}"
    DEPENDS "${_kavelin_font_src}/build_font.py" "${_kavelin_font_src}/glyph-table.tsv" "${_noto}"
    COMMENT "Building KavelinLegacyDevanagari-${_style}.ttf"
    VERBATIM)
  list(APPEND KAVELIN_FONT_FILES "${_out}")
endforeach()
add_custom_target(kavelin_fonts DEPENDS ${KAVELIN_FONT_FILES})

install(FILES ${KAVELIN_FONT_FILES} "${_kavelin_font_src}/OFL.txt"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/fonts/truetype/kavelin")
install(FILES "${_kavelin_font_src}/65-kavelin-legacy-devanagari.conf"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail")
# Enabled the conventional way: a link in fontconfig's conf.d (/etc for the
# prefix /usr, as in the Debian package).
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(_etc \"/etc\")
  else()
    set(_etc \"\${CMAKE_INSTALL_PREFIX}/etc\")
  endif()
  set(_conf 65-kavelin-legacy-devanagari.conf)
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${_etc}/fonts/conf.d\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${_etc}/fonts/conf.d/\${_conf}\")
  file(CREATE_LINK \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail/\${_conf}\"
       \"\$ENV{DESTDIR}\${_etc}/fonts/conf.d/\${_conf}\" SYMBOLIC)
")
