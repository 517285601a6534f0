; SPDX-License-Identifier: MIT
; kalvira's installer: for the current user (no administrator rights), with a
; Start-menu shortcut that starts kalvira in its folder, where Help finds
; kalvira.html, an entry in the list of installed programs, and an uninstaller
; that removes every file it installed.  The build defines VERSION, STAGE (the
; folder of the release's files), FILES (their list) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
Name "kalvira ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\kalvira"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\kalvira"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro InstallFile name
  File "/oname=${name}" "${STAGE}\${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend
!macro MakeFolder name
  CreateDirectory "$INSTDIR\${name}"
!macroend
!macro RemoveFolder name
  RMDir "$INSTDIR\${name}"
!macroend
!include "${FILES}"  ; EachFile: the staged files, listed by cmake/windows-file-list.cmake

Section
  SetOutPath "$INSTDIR"
  !insertmacro EachFolder MakeFolder
  !insertmacro EachFile InstallFile
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\kalvira.lnk" "$INSTDIR\kalvira.exe"  ; starts in the output path
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "kalvira"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the kalvira authors"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kalvira.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro EachFile RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  !insertmacro EachFolderInnerFirst RemoveFolder
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\kalvira.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
