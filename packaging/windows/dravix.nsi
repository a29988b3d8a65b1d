; The Dravix installer: the deployed folder into Program Files, a Start menu shortcut that runs
; the launcher, and an uninstaller registered with Windows that removes what was installed and
; nothing else. Silent with /S, both ways. Installed over an earlier version, it removes that
; version first.
; makensis -DVERSION=<x.y.z> -DFOLDER=<deployed folder> -DLISTS=<folder of files.nsh>
;          -DOUTFILE=<setup.exe> -DICON=<dravix.ico> dravix.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "${LISTS}/files.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dravix"
!define SHORTCUT "$SMPROGRAMS\Dravix.lnk"

Name "Dravix ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Dravix"
BrandingText "Dravix ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1045 "ProductName" "Dravix"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "FileDescription" "Dravix ${VERSION} setup"
VIAddVersionKey /LANG=1045 "CompanyName" "Dravix"
VIAddVersionKey /LANG=1045 "LegalCopyright" "Dravix maintainers, GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${FOLDER}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

; An installation already there, of this version or another, is removed first by its own
; uninstaller, silently, so that no file of it that this version does not install stays behind
; (a stale DLL or plugin beside the program can keep it from starting). The uninstaller removes
; only what it installed: the user's files stay, wherever they are. Without one, nothing is said.
Function RemovePrevious
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCmp $0 "" done
    IfFileExists "$0\uninstall.exe" 0 done
    ; _?= runs it in place and waits for it; it cannot delete itself then.
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0"
done:
FunctionEnd

Section
    Call RemovePrevious
    !insertmacro DravixInstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\dravix-start.exe" "" "$INSTDIR\dravix.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dravix"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Dravix"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dravix.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${DRAVIX_SIZE_KIB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's working folder (Documents\Dravix) is the user's: nothing there is touched, and a
; file the user left in the program's folder keeps that folder.
Section "Uninstall"
    !insertmacro DravixRemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
