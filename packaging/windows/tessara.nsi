; Tessara's Windows installer. Installs for the current user without administrator rights; the Start menu
; gets an entry for the wizard. The uninstaller removes what was installed and leaves the workspace (the
; PROJECTS folder and the settings file), whether it lies in the program folder or in %LOCALAPPDATA%\Tessara.
; Defined by scripts/package-windows: VERSION, PAYLOAD (the staged folder), FILE_LIST (Delete lines for the
; uninstaller), OUTFILE.
; A 64-bit installer for a 64-bit program; it also runs where Wine has no 32-bit side.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

Name "Tessara ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tessara"
InstallDirRegKey HKCU "Software\Tessara" "InstallDir"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessara"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tessara"
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "Software\Tessara" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tessara"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  CreateDirectory "$SMPROGRAMS\Tessara"
  CreateShortcut "$SMPROGRAMS\Tessara\Tessara.lnk" "$INSTDIR\tessara-wizard.exe"
SectionEnd

Section "Uninstall"
  ; Only the installed files by name: the user's projects beside them stay, and so do their folders.
  !include "${FILE_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Tessara\Tessara.lnk"
  RMDir "$SMPROGRAMS\Tessara"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "Software\Tessara"
SectionEnd
