; The installer of one Windows architecture's release folder (cmake/Packaging.cmake):
; for the signed-in user alone, without administrator rights, with a Start-menu
; entry, an entry in Apps & features and, when "Start at sign-in" is ticked, a
; shortcut in the Startup folder. Zentara itself writes no settings.
;
;   makensis -DVERSION=1.0.0 -DTARGET=amd64-unicode|x86-unicode -DRELEASE=<folder>
;            -DOUTFILE=<installer> -DICON=<ico> zentara.nsi
;
; Silent: Setup.exe /S [/STARTUP=0|1] installs (with the Startup shortcut unless
; /STARTUP=0); Uninstall.exe /S removes what it installed.
Unicode true
Target ${TARGET}
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; Installed files take the time of the installation, so the installer holds no
; time of the build.
SetDateSave off

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include WinMessages.nsh
!include WinVer.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zentara"
!define PANEL_CLASS "TPanelForm"
!define PANEL_TITLE "KOVA Zentara"

Name "Zentara"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zentara"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Zentara ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Zentara.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "KOVA"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Zentara ${VERSION} installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 KOVA"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Zentara"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; A running panel keeps Zentara.exe open: asks it to close, and waits up to 5 s
; for the installed program to be free to replace.
!macro CLOSE_PANEL
  FindWindow $0 "${PANEL_CLASS}" "${PANEL_TITLE}"
  ${If} $0 <> 0
  ${AndIf} ${FileExists} "$INSTDIR\Zentara.exe"
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      ClearErrors
      FileOpen $2 "$INSTDIR\Zentara.exe" a
      ${IfNot} ${Errors}
        FileClose $2
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 1
    ${LoopUntil} $1 >= 50
  ${EndIf}
!macroend

Section "Zentara" SectionProgram
  SectionIn RO
  SetShellVarContext current
  !insertmacro CLOSE_PANEL
  SetOutPath "$INSTDIR"
  File /r "${RELEASE}/*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Zentara.lnk" "$INSTDIR\Zentara.exe"
  ; Left out this time, it goes; the next section puts it back when ticked.
  Delete "$SMSTARTUP\Zentara.lnk"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zentara"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "KOVA"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zentara.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start at sign-in" SectionStartup
  SetShellVarContext current
  CreateShortcut "$SMSTARTUP\Zentara.lnk" "$INSTDIR\Zentara.exe"
SectionEnd

Function .onInit
  ${IfNot} ${AtLeastWin8}
    MessageBox MB_ICONSTOP "Zentara needs Windows 8 or later." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP=" $1
  ${IfNot} ${Errors}
    ${If} $1 == "0"
      SectionSetFlags ${SectionStartup} 0
    ${ElseIf} $1 == "1"
      SectionSetFlags ${SectionStartup} ${SF_SELECTED}
    ${Else}
      MessageBox MB_ICONSTOP "/STARTUP takes 0 or 1, not $\"$1$\"." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro CLOSE_PANEL
  Delete "$SMPROGRAMS\Zentara.lnk"
  Delete "$SMSTARTUP\Zentara.lnk"
  ; Only what the installer put there: the folder may have been chosen by hand.
  RMDir /r "$INSTDIR\images"
  Delete "$INSTDIR\Zentara.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
