# SPDX-License-Identifier: MIT
# Writes the installer's list of the release's files, every file staged in
# STAGE, as the NSIS macro EachFile into OUTPUT, so that the files are named
# once, where the release is staged.  Run with cmake -DSTAGE=... -DOUTPUT=... -P
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(lines "!macro EachFile action\n")
foreach(file IN LISTS files)
  string(REPLACE "/" "\\" file ${file})
  string(APPEND lines "  !insertmacro \${action} \"${file}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}!macroend\n")
