# SPDX-License-Identifier: MIT
# Lists the release's files, every file staged in STAGE, in one sorted order:
# as the NSIS macro EachFile in OUTPUT.nsh for the installer (and its folders,
# parents first, as EachFolder, and last, as EachFolderInnerFirst), and as paths from
# STAGE's parent in OUTPUT.list for the zip, so that the files are named once,
# where the release is staged.  Their modes are set here, not by the umask, so
# that the zip's bytes do not depend on who built it.  Run with cmake -DSTAGE=... -DOUTPUT=... -P
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
get_filename_component(release ${STAGE} NAME)
set(macro "!macro EachFile action\n")
file(GLOB_RECURSE folder_list LIST_DIRECTORIES true RELATIVE ${STAGE} ${STAGE}/*)
list(SORT folder_list)
foreach(order EachFolder EachFolderInnerFirst)
  set(${order} "!macro ${order} action\n")
  foreach(folder IN LISTS folder_list)
    if(IS_DIRECTORY ${STAGE}/${folder})
      string(REPLACE "/" "\\" folder ${folder})
      string(APPEND ${order} "  !insertmacro \${action} \"${folder}\"\n")
    endif()
  endforeach()
  string(APPEND ${order} "!macroend\n")
  list(REVERSE folder_list)
endforeach()
set(paths "")
foreach(file IN LISTS files)
  if(file MATCHES "[.]exe$")
    file(CHMOD ${STAGE}/${file} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${STAGE}/${file} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
  string(APPEND paths "${release}/${file}\n")
  string(REPLACE "/" "\\" file ${file})
  string(APPEND macro "  !insertmacro \${action} \"${file}\"\n")
endforeach()
file(WRITE ${OUTPUT}.nsh "${macro}!macroend\n${EachFolder}${EachFolderInnerFirst}")
file(WRITE ${OUTPUT}.list "${paths}")
