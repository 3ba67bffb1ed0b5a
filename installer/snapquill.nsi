; Snapquill's installer, built by tools/package.sh (and by the package test)
; with Debian's makensis:
;
;   makensis -DVERSION=1.1.0 -DFILES=DIR -DOUTFILE=Snapquill-1.1.0-setup.exe snapquill.nsi
;
; DIR holds snapquill.exe, README.txt, LICENSE.txt and THIRD-PARTY-NOTICES.txt.
; It installs for the current user only, without elevation, into
; %LOCALAPPDATA%\Programs\Snapquill; /S installs and uninstalls silently.
; The settings key HKCU\Software\Vorlane\Snapquill belongs to the program
; and is left alone by the uninstaller.

Unicode true
; A 64-bit installer: a 32-bit one does nothing on a 64-bit-only Wine.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!ifndef VERSION | FILES | OUTFILE
  !error "VERSION, FILES and OUTFILE must be defined (-D)"
!endif

!define PRODUCT "Snapquill"
!define PUBLISHER "the Snapquill developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Snapquill"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"

!define MUI_ICON "${FILES}\snapquill.ico"
!define MUI_UNICON "${FILES}\snapquill.ico"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\snapquill.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running Snapquill to close and waits until it has, so that its
; exe can be replaced or removed. The program's hidden application window
; (class TApplication, caption Snapquill) ends the program on WM_CLOSE; its
; main window is the fallback. Aborts when it does not close.
!macro CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
  Push $0
  Push $1
  StrCpy $1 0
  ${Do}
    FindWindow $0 "TApplication" "${PRODUCT}"
    ${If} $0 == 0
      FindWindow $0 "TSnapquillForm" "${PRODUCT}"
    ${EndIf}
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} $1 == 0
      DetailPrint "Closing the running ${PRODUCT}"
    ${EndIf}
    ; Asked again every second, in case it was busy the first time.
    IntOp $0 $1 % 10
    ${If} $0 == 0
      FindWindow $0 "TApplication" "${PRODUCT}"
      ${If} $0 == 0
        FindWindow $0 "TSnapquillForm" "${PRODUCT}"
      ${EndIf}
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
    ${If} $1 >= 150
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running. Close it and press Retry." \
        /SD IDCANCEL IDRETRY retry
      Abort "${PRODUCT} is still running."
      retry:
      StrCpy $1 0
    ${EndIf}
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

; Deletes a file that a process which has just ended may still hold.
!macro DELETE_WHEN_FREE path
  StrCpy $R0 0
  ${Do}
    ClearErrors
    Delete "${path}"
    ${IfNot} ${FileExists} "${path}"
    ${OrIf} $R0 >= 50
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $R0 $R0 + 1
  ${Loop}
!macroend

Section "${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningCopy
  SetOutPath "$INSTDIR"
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\snapquill.exe"
  File "${FILES}\snapquill.exe"
  File "${FILES}\README.txt"
  File "${FILES}\LICENSE.txt"
  File "${FILES}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Shots go to the working folder until the user picks one: the shortcut
  ; starts in the user's pictures folder.
  SetOutPath "$PICTURES"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\snapquill.exe" "" "$INSTDIR\snapquill.exe" 0
  SetOutPath "$INSTDIR"

  ; A reinstall without the sign-in choice takes an earlier one back.
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\snapquill.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start ${PRODUCT} when I sign in" SecSignIn
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\snapquill.exe" -hide'
SectionEnd

Section "Uninstall"
  Call un.CloseRunningCopy
  !insertmacro DELETE_WHEN_FREE "$INSTDIR\snapquill.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: shots the user saved here stay.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
