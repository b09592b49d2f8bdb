; The game's installer for 64-bit Windows, made by the build's target
; emberwing-windows-packages, which defines:
;   EMBERWING_VERSION  the game's version, as 1.2.3
;   EMBERWING_LISTS    the folder of install.nsh and uninstall.nsh, made from the install rules
;   EMBERWING_OUTFILE  the installer to write
;   EMBERWING_ICON     the game's .ico, when the build could make one
; Silent with /S, installer and uninstaller alike.

; NSIS's default is a 32-bit installer, which a Windows without 32-bit support (or Wine
; without its 32-bit half) cannot start.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Emberwing"
!define UNINSTALLER "Uninstall Emberwing.exe"
!define SHORTCUT "$SMPROGRAMS\Emberwing.lnk"

Name "Emberwing"
OutFile "${EMBERWING_OUTFILE}"
InstallDir "$PROGRAMFILES64\Emberwing"
; Installed again, the game goes where it went before.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation
RequestExecutionLevel admin

VIProductVersion "${EMBERWING_VERSION}.0"
VIAddVersionKey ProductName "Emberwing"
VIAddVersionKey ProductVersion "${EMBERWING_VERSION}"
VIAddVersionKey FileVersion "${EMBERWING_VERSION}"
VIAddVersionKey FileDescription "Emberwing installer"
VIAddVersionKey CompanyName "Emberwing developers"
VIAddVersionKey LegalCopyright "2026 Emberwing developers, MIT licence"

!include MUI2.nsh
!ifdef EMBERWING_ICON
    !define MUI_ICON "${EMBERWING_ICON}"
    !define MUI_UNICON "${EMBERWING_ICON}"
    !define DISPLAY_ICON "$INSTDIR\emberwing.ico"
!else
    !define DISPLAY_ICON "$INSTDIR\emberwing.exe"
!endif
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

Section
    ; The shortcut and the registry entry are the machine's, for every user.
    SetShellVarContext all
    SetRegView 64
    !include "${EMBERWING_LISTS}/install.nsh"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ; The shortcut's working folder is the current output folder: the game's own.
    SetOutPath "$INSTDIR"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\emberwing.exe" "" "${DISPLAY_ICON}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Emberwing"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${EMBERWING_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "Emberwing developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "${DISPLAY_ICON}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize ${EMBERWING_SIZE_KB}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
SectionEnd

; Removes what the installer put there and nothing else; the folders go only when empty,
; so a player's own files stay, and so does a folder the game shared with other things.
Section Uninstall
    SetShellVarContext all
    SetRegView 64
    !include "${EMBERWING_LISTS}/uninstall.nsh"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
