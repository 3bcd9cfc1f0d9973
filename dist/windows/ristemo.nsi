; The Windows installer: ristemo.exe, a Start-menu shortcut, and an uninstaller listed in "Apps and
; features"; for all users (Program Files, with administrator rights) or for the current user alone
; (the user's programs folder, no administrator rights needed), as NSIS's MultiUser.nsh does it.
; A user who is not an administrator gets the second by itself; an administrator chooses on a page,
; or gets the mode of an earlier installation. /S installs and uninstalls silently; with /S,
; /CurrentUser and /AllUsers choose the mode. A newer version replaces an older one in its place.
; makensis -DVERSION=<major.minor> -DFILE_VERSION=<a.b.c.d> -DPUBLISHER=<name>
;   -DEXE=path\to\ristemo.exe -DICON=path\to\ristemo.ico -DOUTFILE=ristemo-<version>-setup.exe
;   (as dist/windows/CMakeLists.txt does)
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Ristemo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ristemo"

; Highest: an administrator is asked to elevate, anyone else runs as they are.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
; An earlier installation gives its mode (all users first) and its folder.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
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
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE size_in_italian
!define MUI_DIRECTORYPAGE_TEXT_TOP "${PRODUCT} ${VERSION} sarà installato nella cartella \
  seguente. Per sceglierne un'altra, premere Sfoglia.$\r$\n$\r$\nSpazio richiesto: $size_text"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

!define NEEDS_ADMINISTRATOR "servono i diritti di amministratore di questo computer."

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

; Stops with a message (none in a silent run) and status 2.
!macro refuse text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

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
  !insertmacro MULTIUSER_INIT
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    Call MultiUser.InstallMode.CurrentUser
  ${Else}
    ; A user who is not an administrator cannot replace an installation for all users: a copy of
    ; their own beside it would leave two, which they must ask for.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $MultiUser.InstallMode == "CurrentUser"
    ${AndIf} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
    ${AndIf} $0 != ""
      !insertmacro refuse "${PRODUCT} è installato per tutti gli utenti: per aggiornarlo \
        ${NEEDS_ADMINISTRATOR}"
    ${EndIf}
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    ${If} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
      !insertmacro refuse "Per installare ${PRODUCT} per tutti gli utenti ${NEEDS_ADMINISTRATOR}"
    ${EndIf}
    Call MultiUser.InstallMode.AllUsers
  ${EndIf}
  Call ristemo_closed
FunctionEnd

; The uninstaller removes the installation whose folder it sits in: for all users when the entry
; of all users names that folder (by its short name too, as _?= may give it), else the current
; user's.
Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  GetFullPathName /SHORT $1 $0
  GetFullPathName /SHORT $2 $INSTDIR
  StrCpy $3 $0
  ${If} $1 != ""
  ${AndIf} $1 == $2
    StrCpy $3 $INSTDIR
  ${EndIf}
  ${If} $3 == $INSTDIR
    ${If} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
      !insertmacro refuse "Per disinstallare ${PRODUCT} per tutti gli utenti ${NEEDS_ADMINISTRATOR}"
    ${EndIf}
    Call un.MultiUser.InstallMode.AllUsers
  ${Else}
    Call un.MultiUser.InstallMode.CurrentUser
  ${EndIf}
  Call un.ristemo_closed
FunctionEnd

; SHCTX is HKLM for all users, HKCU for the current user alone.
Section "Ristemo"
  SetOutPath "$INSTDIR"
  File "/oname=ristemo.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\ristemo.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ristemo.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\ristemo.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The user's programs folder, if the installation made it and it is left empty (the folder
  ; MultiUser.nsh installs in, with its fallback).
  ${If} $MultiUser.InstallMode == "CurrentUser"
    GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
    StrCmp $0 "" 0 +2
      StrCpy $0 "$LOCALAPPDATA\Programs"
    RMDir $0
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
