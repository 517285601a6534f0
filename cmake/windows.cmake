# SPDX-License-Identifier: MIT
# What only the Windows build needs: a GUI program and a console one with their
# C++ runtime inside, an icon and version resource, and the release: a zip and
# an installer.  KALVIRA_LICENCES names the folders with the licence texts of
# the toolkit, of the image libraries it bundles and of yaml-cpp.

find_program(ICOTOOL icotool REQUIRED)
find_program(MAKENSIS makensis REQUIRED)
find_program(ZIP zip REQUIRED)
find_file(MINGW_W64_NOTICE copyright PATHS /usr/share/doc/mingw-w64-common NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)

# The icon in the sizes Explorer and the task bar ask for; 256 px as PNG inside.
set(ico_pngs "")
foreach(size 16 24 32 48 64 128 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/ico/${size}.png)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/icons/ico)
  add_custom_command(OUTPUT ${png}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${CMAKE_CURRENT_SOURCE_DIR}/desktop/kalvira.svg
    DEPENDS desktop/kalvira.svg)
  list(APPEND ico_pngs $<IF:$<EQUAL:${size},256>,--raw=${png},${png}>)
  list(APPEND ico_depends ${png})
endforeach()
add_custom_command(OUTPUT ${GENERATED}/kalvira.ico
  COMMAND ${ICOTOOL} -c -o ${GENERATED}/kalvira.ico ${ico_pngs}
  DEPENDS ${ico_depends})
configure_file(windows/kalvira.rc.in ${GENERATED}/kalvira.rc @ONLY)
set_source_files_properties(${GENERATED}/kalvira.rc PROPERTIES OBJECT_DEPENDS ${GENERATED}/kalvira.ico)
target_sources(kalvira PRIVATE ${GENERATED}/kalvira.rc)
set_target_properties(kalvira PROPERTIES WIN32_EXECUTABLE ON)
# Without the link's time in the PE header, two builds give the same bytes.
target_link_options(kalvira PRIVATE -static -s -Wl,--no-insert-timestamp)
target_link_options(kalvira-convert PRIVATE -static -s -Wl,--no-insert-timestamp)

# The release, in the build folder: kalvira-<version>-win64.zip and its
# installer, kalvira-<version>-win64-setup.exe.
set(release kalvira-${PROJECT_VERSION}-win64)
set(stage ${CMAKE_CURRENT_BINARY_DIR}/${release})
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${release}.zip ${CMAKE_CURRENT_BINARY_DIR}/${release}-setup.exe
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kalvira> $<TARGET_FILE:kalvira-convert> ${CMAKE_CURRENT_SOURCE_DIR}/doc/kalvira.html
          ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KALVIRA_LICENCES} ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_BINARY_DIR}/${KALVIRA_DATABASE} ${stage}/${KALVIRA_DATABASE}
  COMMAND ${CMAKE_COMMAND} -E copy ${MINGW_W64_NOTICE} ${stage}/licences/mingw-w64-runtime-and-winpthreads.txt
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUTPUT=${stage} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/windows-file-list.cmake
  # The same bytes from every build: each file dated the release's day, in UTC as the
  # zip's DOS times are local; the files in the list's order; no Unix times or owners (-X).
  COMMAND find ${stage} -exec touch -d "${KALVIRA_RELEASE_DATE} 00:00:00 UTC" {} +
  COMMAND ${CMAKE_COMMAND} -E rm -f ${release}.zip
  COMMAND sh -c "TZ=UTC ${ZIP} -q -X -D \"$0\" -@ < \"$1\"" ${release}.zip ${stage}.list
  COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DFILES=${stage}.nsh
          -DOUTFILE=${CMAKE_CURRENT_BINARY_DIR}/${release}-setup.exe ${CMAKE_CURRENT_SOURCE_DIR}/windows/kalvira.nsi
  DEPENDS kalvira kalvira-convert ${KALVIRA_DATABASE}/catalog-nk.yml doc/kalvira.html windows/README.txt windows/kalvira.nsi cmake/windows-file-list.cmake LICENSE
  COMMENT "Packing ${release}.zip and its installer"
  VERBATIM)
add_custom_target(release ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${release}.zip)
