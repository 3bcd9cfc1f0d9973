; The Windows installer: ristemo.exe in Program Files, a Start-menu shortcut, and an uninstaller
; listed in "Apps and features". /S installs and uninstalls silently.
; makensis -DVERSION=1.0 -DFILE_VERSION=1.0.0.0 -DEXE=path\to\ristemo.exe -DICON=path\to\ristemo.ico
;   -DOUTFILE=ristemo-1.0-setup.exe   (dist/windows/CMakeLists.txt gives the project's version)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"

!define PRODUCT "Ristemo"
!define PUBLISHER "gli autori di Ristemo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ristemo"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
Icon "${ICON}"
UninstallIcon "${ICON}"
; The line under every page names the program, not the tool that made the installer.
BrandingText "${PRODUCT} ${VERSION}"
; NSIS writes sizes with a decimal point: the page states the size itself, with a comma.
SpaceTexts none
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "© 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
Var size_text
!define MUI_PAGE_CUSTOMFUNCTION_PRE size_in_italian
!define MUI_DIRECTORYPAGE_TEXT_TOP "${PRODUCT} ${VERSION} sarà installato nella cartella \
  seguente. Per sceglierne un'altra, premere Sfoglia.$\r$\n$\r$\nSpazio richiesto: $size_text"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; ristemo.exe cannot be replaced or removed while it runs: the user closes it first (it may hold
; a patient's results), or the installer stops. A silent run stops at once.
!macro ristemo_closed un
Function ${un}ristemo_closed
  retry:
    FindWindow $0 "RistemoForm1"
    StrCmp $0 0 done
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} è aperto. Chiudere il programma, \
      poi premere Riprova." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort
  done:
FunctionEnd
!macroend
!insertmacro ristemo_closed ""
!insertmacro ristemo_closed "un."

; The size of the files in KB, as "539,0 KB" or "1,5 MB".
Function size_in_italian
  SectionGetSize 0 $0
  IntCmp $0 1024 kilobytes kilobytes
  IntOp $1 $0 / 1024
  IntOp $2 $0 % 1024
  IntOp $2 $2 * 10
  IntOp $2 $2 / 1024
  StrCpy $size_text "$1,$2 MB"
  Return
  kilobytes:
    StrCpy $size_text "$0,0 KB"
FunctionEnd

Function .onInit
  SetRegView 64
  SetShellVarContext all
  Call ristemo_closed
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.ristemo_closed
FunctionEnd

Section "Ristemo"
  SetOutPath "$INSTDIR"
  File "/oname=ristemo.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\ristemo.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ristemo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" 1024
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\ristemo.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
