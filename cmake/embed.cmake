# SPDX-License-Identifier: MIT
# Writes OUTPUT, a C++ source that holds the PNG files listed in PNGS as byte
# arrays, so that the program carries its window icons without reading a file.
set(arrays "")
set(entries "")
set(i 0)
foreach(png IN LISTS PNGS)
  file(READ "${png}" bytes HEX)
  string(REGEX REPLACE "(..)" "0x\\1," bytes "${bytes}")
  string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char png${i}[] = {\n    ${bytes}};\n")
  string(APPEND entries "    {png${i}, sizeof png${i}},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE "${OUTPUT}" "// Generated at build time from the rendered icons.
#include \"window_icons.h\"

namespace {
${arrays}} // namespace

const EmbeddedPng window_icons[] = {
${entries}};
const int window_icon_count = ${i};
")
