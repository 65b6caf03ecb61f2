; spindle2.nsi - the Spindle2 setup program. CMake's dist target builds it
; (makensis, from Debian's nsis package) with these definitions:
;   OUTFILE    the setup program to write
;   STAGE      the folder holding the files to install (stripped copies)
;   ICONFILE   the program's icon, used for setup and uninstall
;   RACKFILE   defined when Rackfile.exe was built and lies in STAGE
;
; Setup switches (beside NSIS's own /S and /D=folder):
;   /STARTUP   select "Start with Windows" (the shortcut in the Startup
;              folder); without it the choice of an earlier installation
;              stays as it was.
; Uninstaller switches (beside /S):
;   /DELETEDB  delete the title database without asking
;   /KEEPDB    keep it without asking
;   Otherwise the uninstaller asks; a silent uninstall keeps it.

Unicode true
; Debian's Wine runs 64-bit programs, and the player is one: the setup
; program, its folders and its registry view are the 64-bit ones.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT      "Spindle2"
!define VERSION      "3.00"
!define PUBLISHER    "Veldane Software"
!define PRODUCT_KEY  "SOFTWARE\Veldane Software\Spindle2"
!define VERSION_KEY  "${PRODUCT_KEY}\CurrentVersion"
!define OPTIONS_KEY  "${VERSION_KEY}\Options"
!define CDDB_KEY     "${VERSION_KEY}\cddb"
!define UNINST_KEY   "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Spindle2"
!define RUN_MUTEX    "Spindle2 Run Only Once"
!define DATABASE     "Spindle2.tdb"
!define UNINSTALLER  "Uninstall.exe"
!ifdef RACKFILE
  !define RACKFILE_TEXT ", Rackfile (the title database tool)"
!else
  !define RACKFILE_TEXT ""
!endif

; The main CDDB server from which the player fetches its server and
; category lists, and where submissions go. gnudb takes new entries only
; over HTTP, so the address is its submit script; the library posts the
; entry there (an e-mail address in its place is mailed through SMTP).
!define CDDB_MAIN_SERVER  "gnudb.gnudb.org"
!define CDDB_MAIN_PORT    8880
!define CDDB_SUBMIT_TO    "http://gnudb.gnudb.org/~cddb/submit.cgi"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade offers the folder of the installation it replaces.
InstallDirRegKey HKLM "${OPTIONS_KEY}" "MainDirectory"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "3.0.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 the Spindle2 developers"

!define MUI_ICON   "${ICONFILE}"
!define MUI_UNICON "${ICONFILE}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_WELCOMEPAGE_TITLE "Welcome to the ${PRODUCT} ${VERSION} Setup"
!define MUI_WELCOMEPAGE_TEXT "Setup installs ${PRODUCT}, the audio-CD player of the taskbar's notification area, with its CD library${RACKFILE_TEXT} and its help file.$\r$\n$\r$\nClose ${PRODUCT} before you go on if it is running.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\spindle2.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; --- Helpers -----------------------------------------------------------------

; Writes a value only when the key does not hold it yet, so that an upgrade
; keeps what the user (or the player) changed.
!macro KeepOrWriteStr KEY NAME VALUE
  ClearErrors
  ReadRegStr $0 HKLM "${KEY}" "${NAME}"
  ${If} ${Errors}
    WriteRegStr HKLM "${KEY}" "${NAME}" "${VALUE}"
    DetailPrint "Registry: ${NAME} = ${VALUE}"
  ${Else}
    DetailPrint "Registry: ${NAME} kept as $0"
  ${EndIf}
!macroend

!macro KeepOrWriteDword KEY NAME VALUE
  ClearErrors
  ReadRegDWORD $0 HKLM "${KEY}" "${NAME}"
  ${If} ${Errors}
    WriteRegDWORD HKLM "${KEY}" "${NAME}" ${VALUE}
    DetailPrint "Registry: ${NAME} = ${VALUE}"
  ${Else}
    DetailPrint "Registry: ${NAME} kept as $0"
  ${EndIf}
!macroend

; Files cannot be replaced or removed while the player holds them open: wait
; until the user has closed it. Silent runs leave with exit code 2 instead.
!macro WaitForPlayerToClose UN
Function ${UN}WaitForPlayerToClose
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUN_MUTEX}") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running.$\r$\nClose it, then press Retry." /SD IDCANCEL IDRETRY again
    SetErrorLevel 2
    Quit
  again:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitForPlayerToClose ""
!insertmacro WaitForPlayerToClose "un."

; An upgrade into another folder than the earlier installation's: the title
; database moves along (the player opens it in its own folder, so left
; behind it would look lost), and the earlier program files go. A database
; already in the new folder wins; the earlier one then stays where it is.
Function MoveEarlierInstallation
  ClearErrors
  ReadRegStr $1 HKLM "${OPTIONS_KEY}" "MainDirectory"
  ${If} ${Errors}
  ${OrIf} $1 == ""
  ${OrIf} $1 == $INSTDIR
    Return
  ${EndIf}
  ; The same folder under another spelling (a trailing backslash, a short
  ; name): a file made in the one shows in the other.
  FileOpen $2 "$INSTDIR\setup-same-folder.tmp" w
  FileClose $2
  ${If} ${FileExists} "$1\setup-same-folder.tmp"
    Delete "$INSTDIR\setup-same-folder.tmp"
    Return
  ${EndIf}
  Delete "$INSTDIR\setup-same-folder.tmp"
  ${If} ${FileExists} "$1\${DATABASE}"
    ${If} ${FileExists} "$INSTDIR\${DATABASE}"
      DetailPrint "The title database in $1 stays there: $INSTDIR holds one already."
    ${Else}
      ClearErrors
      Rename "$1\${DATABASE}" "$INSTDIR\${DATABASE}"
      ${If} ${Errors}
        ClearErrors
        CopyFiles /SILENT "$1\${DATABASE}" "$INSTDIR"
        ${If} ${Errors}
        ${OrIfNot} ${FileExists} "$INSTDIR\${DATABASE}"
          DetailPrint "The title database could not be moved from $1; it stays there."
        ${Else}
          Delete "$1\${DATABASE}"
          DetailPrint "The title database was copied from $1."
        ${EndIf}
      ${Else}
        DetailPrint "The title database was moved from $1."
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Delete "$1\spindle2.exe"
  Delete "$1\platter.dll"
  Delete "$1\Spindle2.hlp"
  Delete "$1\Rackfile.exe"
  Delete "$1\diagnostics.log"
  Delete "$1\${DATABASE}.new"
  Delete "$1\${UNINSTALLER}"
  RMDir "$1"
FunctionEnd

; --- Installation ------------------------------------------------------------

Section "${PRODUCT} (required)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\spindle2.exe"
  File "${STAGE}\platter.dll"
  File "${STAGE}\Spindle2.hlp"
!ifdef RACKFILE
  File "${STAGE}\Rackfile.exe"
!endif
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  Call MoveEarlierInstallation

  ; The player reads its folder from MainDirectory at every start: it
  ; always names the folder just installed. The options themselves are the
  ; player's to write; the CDDB values are written only where none exist.
  WriteRegStr HKLM "${OPTIONS_KEY}" "MainDirectory" "$INSTDIR"
  !insertmacro KeepOrWriteStr   "${CDDB_KEY}" "MainServer"     "${CDDB_MAIN_SERVER}"
  !insertmacro KeepOrWriteDword "${CDDB_KEY}" "MainServerPort" ${CDDB_MAIN_PORT}
  !insertmacro KeepOrWriteStr   "${CDDB_KEY}" "SubmitAddress"  "${CDDB_SUBMIT_TO}"

  ; Start menu, for every user of the machine (the keys are machine-wide).
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\spindle2.exe" "" "$INSTDIR\spindle2.exe" 0
!ifdef RACKFILE
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Rackfile.lnk" "$INSTDIR\Rackfile.exe" "" "$INSTDIR\Rackfile.exe" 0
!else
  Delete "$SMPROGRAMS\${PRODUCT}\Rackfile.lnk"
!endif
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

  ; Add/Remove Programs.
  WriteRegStr   HKLM "${UNINST_KEY}" "DisplayName"          "${PRODUCT} ${VERSION}"
  WriteRegStr   HKLM "${UNINST_KEY}" "DisplayVersion"       "${VERSION}"
  WriteRegStr   HKLM "${UNINST_KEY}" "Publisher"            "${PUBLISHER}"
  WriteRegStr   HKLM "${UNINST_KEY}" "DisplayIcon"          "$INSTDIR\spindle2.exe,0"
  WriteRegStr   HKLM "${UNINST_KEY}" "InstallLocation"      "$INSTDIR"
  WriteRegStr   HKLM "${UNINST_KEY}" "UninstallString"      '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr   HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start with Windows" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\spindle2.exe" "" "$INSTDIR\spindle2.exe" 0
SectionEnd

; A startup shortcut that the user deselected goes away.
Section "-StartupCleanup"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    Delete "$SMSTARTUP\${PRODUCT}.lnk"
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The player, its CD library${RACKFILE_TEXT}, the help file, Start menu shortcuts and the settings the player needs."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "Start ${PRODUCT} in the notification area whenever you log on to Windows."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  SetRegView 64
  SetShellVarContext all
  ; An upgrade keeps the earlier choice of "Start with Windows".
  ${If} ${FileExists} "$SMSTARTUP\${PRODUCT}.lnk"
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/STARTUP" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  Call WaitForPlayerToClose
FunctionEnd

; --- Uninstallation ----------------------------------------------------------

Section "Uninstall"
  ; The files the installation brought and those the player leaves behind
  ; (its log and the half-written copy of an interrupted compaction).
  Delete "$INSTDIR\spindle2.exe"
  Delete "$INSTDIR\platter.dll"
  Delete "$INSTDIR\Spindle2.hlp"
  Delete "$INSTDIR\Rackfile.exe"
  Delete "$INSTDIR\diagnostics.log"
  Delete "$INSTDIR\${DATABASE}.new"
  Delete "$INSTDIR\${UNINSTALLER}"

  ${If} ${FileExists} "$INSTDIR\${DATABASE}"
    Call un.DatabaseChoice
    ${If} $R2 == "delete"
      Delete "$INSTDIR\${DATABASE}"
      DetailPrint "The title database was deleted."
    ${Else}
      DetailPrint "The title database was kept in $INSTDIR."
    ${EndIf}
  ${EndIf}
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Rackfile.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$SMSTARTUP\${PRODUCT}.lnk"

  ; The program's keys go whole (options, CDDB lists, the conversion flag);
  ; the maker's key only when nothing else of its lives there.
  DeleteRegKey HKLM "${VERSION_KEY}"
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\${PUBLISHER}"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd

; Sets $R2 to "delete" or "keep": from /DELETEDB or /KEEPDB, else the
; user's answer; a silent uninstall that names neither keeps the database.
Function un.DatabaseChoice
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/DELETEDB" $R1
  ${IfNot} ${Errors}
    StrCpy $R2 "delete"
    Return
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/KEEPDB" $R1
  ${IfNot} ${Errors}
    StrCpy $R2 "keep"
    Return
  ${EndIf}
  StrCpy $R2 "keep"
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Do you want to delete the title database as well?$\r$\n$\r$\n$INSTDIR\${DATABASE} holds the titles of all your discs. Keep it if you will install ${PRODUCT} again." /SD IDNO IDNO +2
  StrCpy $R2 "delete"
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  Call un.WaitForPlayerToClose
FunctionEnd
