# SPDX-License-Identifier: MIT
# Unpacks the refractiveindex.info snapshot ARCHIVE into FOLDER as the program
# reads it: catalog-nk.yml, data/ and the licence; its documents and tools
# stay out.  cmake -P database.cmake with -DARCHIVE= -DFOLDER=
set(unpacked ${FOLDER}.unpacked)
file(REMOVE_RECURSE ${unpacked} ${FOLDER})
file(MAKE_DIRECTORY ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${ARCHIVE} DESTINATION ${unpacked})
file(GLOB top LIST_DIRECTORIES true ${unpacked}/*)
list(LENGTH top folders)
if(NOT folders EQUAL 1 OR NOT EXISTS ${top}/database/catalog-nk.yml)
  message(FATAL_ERROR "${ARCHIVE} holds no one folder with database/catalog-nk.yml")
endif()
file(MAKE_DIRECTORY ${FOLDER})
file(RENAME ${top}/database/catalog-nk.yml ${FOLDER}/catalog-nk.yml)
file(RENAME ${top}/database/data ${FOLDER}/data)
file(RENAME ${top}/LICENSE ${FOLDER}/LICENSE)
file(REMOVE_RECURSE ${unpacked})
