; Lumetra's installer and uninstaller. The shipping installer packs the
; 32-bit executable; the test build (-DARCH=x64) packs the x86_64 one, so that
; the same script is tested with both builds.
;   makensis -DVERSION=1.2.3.4 -DEXE=path\Lumetra.exe -DOUTFILE=setup.exe [-DARCH=x64] [-DSIGN=command] Lumetra.nsi
; With SIGN, the uninstaller and the installer are each signed by
; 'command file' as they are written.
Unicode true
SetCompressor /SOLID lzma
; The installer holds no file times, so that the same program makes the same
; installer; installed files take the time of the installation.
SetDateSave off
!ifdef SIGN
  !uninstfinalize '"${SIGN}" "%1"'
  !finalize '"${SIGN}" "%1"'
!endif

!ifndef ARCH
  !define ARCH x86
!endif
!ifndef VERSION
  !error "the build gives VERSION, the project's version"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumetra"
!define SETTINGS_KEY "Software\ZivoCam"

!include "FileFunc.nsh"

Name "Lumetra"
OutFile "${OUTFILE}"
Icon "${__FILEDIR__}\..\res\Lumetra.ico"
UninstallIcon "${__FILEDIR__}\..\res\Lumetra.ico"
; The program keeps its setting under HKEY_LOCAL_MACHINE.
RequestExecutionLevel admin
!if ${ARCH} == x64
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\Lumetra"
!else
  InstallDir "$PROGRAMFILES\Lumetra"
!endif

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Lumetra"
VIAddVersionKey "FileDescription" "Lumetra setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Lumetra"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro UseProgramRegistryView
  !if ${ARCH} == x64
    SetRegView 64
  !endif
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro UseProgramRegistryView
FunctionEnd

Function un.onInit
  !insertmacro UseProgramRegistryView
FunctionEnd

Section "Lumetra"
  SetOutPath "$INSTDIR"
  File "/oname=Lumetra.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Lumetra.lnk" "$INSTDIR\Lumetra.exe" "" "$INSTDIR\Lumetra.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Lumetra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumetra.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Lumetra"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Lumetra.lnk"
  Delete "$INSTDIR\Lumetra.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The key is named for the camera's maker and may hold other software's
  ; values: only Lumetra's goes, and the key with it once it is empty.
  DeleteRegValue HKLM "${SETTINGS_KEY}" "Country"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
SectionEnd
