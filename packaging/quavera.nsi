; Installer of the Quavera MPEG audio player: the program, its engine library,
; a Start-menu shortcut and an uninstaller registered with Windows, nothing
; else. File associations are the player's own business at its first start;
; the uninstaller takes away those that still name its classes.
;
; makensis -DVERSION=1.00 -DARCH=x86|amd64 -DBIN=<folder with Quavera.exe and
;          Tamblin1.dll> -DOUTFILE=<installer> quavera.nsi

Unicode true
!include LogicLib.nsh
SetCompressor /SOLID lzma
!if "${ARCH}" == "amd64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define BITS "64-bit"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define BITS "32-bit"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quavera"

Name "Quavera ${VERSION}"
Caption "Quavera ${VERSION} (${BITS}) Setup"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Quavera"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Quavera"
VIAddVersionKey "CompanyName" "Brixlane"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Brixlane"
VIAddVersionKey "FileDescription" "Quavera ${VERSION} (${BITS}) Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The 64-bit build's uninstall entry belongs in the 64-bit registry view.
!macro RegistryView
  !if "${ARCH}" == "amd64"
    SetRegView 64
  !endif
!macroend

Function .onInit
  !insertmacro RegistryView
FunctionEnd

Function un.onInit
  !insertmacro RegistryView
FunctionEnd

; A file type that still opens with the player's class loses it, and its key
; goes when nothing else is left in it.
!macro ForgetFileType EXTENSION CLASS
  ReadRegStr $0 HKCR "${EXTENSION}" ""
  ${If} $0 == "${CLASS}"
    DeleteRegValue HKCR "${EXTENSION}" ""
    DeleteRegKey /ifempty HKCR "${EXTENSION}"
  ${EndIf}
!macroend

Section "Quavera"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BIN}\Quavera.exe"
  File "${BIN}\Tamblin1.dll"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Quavera.lnk" "$INSTDIR\Quavera.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quavera ${VERSION} (${BITS})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Brixlane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quavera.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Quavera.lnk"
  Delete "$INSTDIR\Quavera.exe"
  Delete "$INSTDIR\Tamblin1.dll"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  !insertmacro ForgetFileType ".mp2" "Quavera.AudioFile"
  !insertmacro ForgetFileType ".mp3" "Quavera.AudioFile"
  !insertmacro ForgetFileType ".l2" "Quavera.AudioFile"
  !insertmacro ForgetFileType ".l3" "Quavera.AudioFile"
  !insertmacro ForgetFileType ".pls" "Quavera.PlaylistFile"
  !insertmacro ForgetFileType ".m3u" "Quavera.PlaylistFile"
  DeleteRegKey HKCR "Quavera.AudioFile"
  DeleteRegKey HKCR "Quavera.PlaylistFile"
SectionEnd
