; The Windows installer of Quillbay, built by scripts/package with makensis:
;   makensis -DVERSION=2.1 -DSTAGING=folder -DLISTS=folder -DOUTFILE=setup.exe quillbay.nsi
; STAGING holds the files to install; LISTS holds files.nsh and unfiles.nsh, the lines
; that install and remove each of them, and quillbay.ico. Installs for the current user (no
; administrator needed, into %LOCALAPPDATA%\Programs\Quillbay) or for all users (into
; Program Files); silently with /S (the current user; /AllUsers for all users; /ASSOCIATE
; also opens .pak and .sav files with Quillbay, /OPENDATA .data files: not a name
; /ASSOCIATE begins, which GetOptions would take for it). Users'
; settings, backups and journals are never removed; the demo's stand-in files are.
; A 64-bit installer, like the programs it installs (and so it runs under wine64 alone).
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP "Quillbay"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbay"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Quillbay"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\Quillbay"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\Quillbay"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}.0.0"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} installer"
VIAddVersionKey "CompanyName" "The Quillbay developers"
VIAddVersionKey "LegalCopyright" "The Quillbay developers"

!define MUI_ICON "${LISTS}/quillbay.ico"
!define MUI_UNICON "${LISTS}/quillbay.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillbay.exe"
!insertmacro MUI_PAGE_WELCOME
; The licences of what is shipped, to read: none asks for an agreement (the LGPL gives
; rights, it takes none), so the button is Next, not "I Agree".
!define MUI_PAGE_HEADER_TEXT "Licences"
!define MUI_PAGE_HEADER_SUBTEXT "What Quillbay ships, and under which licences."
!define MUI_LICENSEPAGE_TEXT_TOP "Quillbay and the libraries it ships:"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Nothing here needs your agreement. The full texts are installed in the folder licenses."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGING}/licenses/notices.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Quillbay's programs, its Start-menu entry, its file types and the demo's stand-in files will be removed. Kept: your settings ($APPDATA\Rezurev2004\Quillbay.ini) and the backups and journals of your rosters ($LOCALAPPDATA\Quillbay); delete them yourself if you no longer want them. Your rosters are never touched."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The components' names are short enough to show whole beside the list's scrollbar; the
; description below the list says the rest.
Section "Quillbay" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    !include "${LISTS}/files.nsh"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Quillbay.lnk" "$INSTDIR\quillbay.exe"
    WriteRegStr SHCTX "Software\Quillbay" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "Software\Quillbay" "InstallMode" "$MultiUser.InstallMode"
    ; Listed under installed apps.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Quillbay developers"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillbay.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

!macro Associate EXT PROGID DESCRIPTION
    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${DESCRIPTION}"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\quillbay.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\quillbay.exe" "%1"'
    WriteRegStr SHCTX "Software\Classes\${EXT}" "" "${PROGID}"
    WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}" ""
!macroend

!macro Unassociate EXT PROGID
    ReadRegStr $0 SHCTX "Software\Classes\${EXT}" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue SHCTX "Software\Classes\${EXT}" ""
    ${EndIf}
    DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
!macroend

Section "Open .pak and .sav" SecAssociate
    !insertmacro Associate ".pak" "Quillbay.Roster" "Cricket 2004 roster"
    !insertmacro Associate ".sav" "Quillbay.SavedGame" "Cricket 2004 saved game"
    WriteRegDWORD SHCTX "Software\Quillbay" "Associated" 1
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; .data is a name many programs use for their own files: off unless ticked.
Section /o "Open .data" SecAssociateData
    !insertmacro Associate ".data" "Quillbay.Data" "Cricket 2004 player file"
    WriteRegDWORD SHCTX "Software\Quillbay" "AssociatedData" 1
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

LangString DESC_SecProgram ${LANG_ENGLISH} "quillbay.exe (the window), quillbay-cli.exe (the batch tool), the Qt libraries they need, the manuals and the licences."
LangString DESC_SecAssociate ${LANG_ENGLISH} "Double-clicking a roster (.pak) or a saved game (.sav) opens it in Quillbay. The uninstaller takes this back."
LangString DESC_SecAssociateData ${LANG_ENGLISH} "Double-clicking a player file (.data, exported by Quillbay) offers to import it into the open roster. Off by default: other programs use .data for their own files. The uninstaller takes this back."
!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} $(DESC_SecProgram)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociate} $(DESC_SecAssociate)
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociateData} $(DESC_SecAssociateData)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    !insertmacro MULTIUSER_INIT
    ; Silent installs leave the file types alone unless /ASSOCIATE (.pak and .sav) or
    ; /OPENDATA (.data) is given.
    ${If} ${Silent}
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/ASSOCIATE" $1
        ${If} ${Errors}
            SectionSetFlags ${SecAssociate} 0
        ${EndIf}
        ClearErrors
        ${GetOptions} $0 "/OPENDATA" $1
        ${IfNot} ${Errors}
            SectionSetFlags ${SecAssociateData} ${SF_SELECTED}
        ${EndIf}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Uninstall"
    ReadRegDWORD $0 SHCTX "Software\Quillbay" "Associated"
    ${If} $0 == 1
        !insertmacro Unassociate ".pak" "Quillbay.Roster"
        !insertmacro Unassociate ".sav" "Quillbay.SavedGame"
    ${EndIf}
    ReadRegDWORD $0 SHCTX "Software\Quillbay" "AssociatedData"
    ${If} $0 == 1
        !insertmacro Unassociate ".data" "Quillbay.Data"
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    Delete "$SMPROGRAMS\Quillbay.lnk"
    !include "${LISTS}/unfiles.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "Software\Quillbay"
    ; The demo's stand-in roster and game folder (about 1 MB on the disk, though its archive
    ; reads as 554 MB) are the program's, in the uninstalling user's own folder; the
    ; backups and journals beside them are the user's and stay.
    SetShellVarContext current
    RMDir /r "$LOCALAPPDATA\Quillbay\cache\demo"
    RMDir "$LOCALAPPDATA\Quillbay\cache"
    RMDir "$LOCALAPPDATA\Quillbay"
SectionEnd
