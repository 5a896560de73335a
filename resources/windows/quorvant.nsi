; The Quorvant installer: for all users, into Program Files, with a Start-menu entry.
; makensis -DVERSION=1.2.3 -DOUTFILE=... -DICON=... -DFILES=... -DUNFILES=... quorvant.nsi
;
; Silent install for many stations:
;   quorvant-VERSION-setup.exe /S /FOLDER=D:\Valdor /D=C:\Program Files\Quorvant
; /FOLDER names the server's program folder (server.ini, news.ini); /D, the install folder, comes
; last and unquoted. Silent uninstall: "C:\Program Files\Quorvant\uninstall.exe" /S

Unicode true
; A 64-bit installer for a 64-bit program: it runs where a 32-bit one may not (a 64-bit-only Wine).
Target amd64-unicode
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include x64.nsh

!define REGKEY "Software\Quorvant\Quorvant\Start"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvant"

Name "Quorvant ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvant"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Quorvant ${VERSION}"

Var ServerFolder
Var FolderField

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
Page custom ServerFolderPage ServerFolderLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvant.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Dutch"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductName" "Quorvant"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileDescription" "Installatie van Quorvant"
VIAddVersionKey /LANG=${LANG_DUTCH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_DUTCH} "ProductVersion" "${VERSION}"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Quorvant werkt alleen op 64-bits Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/FOLDER=" $ServerFolder
  ${If} ${Errors}
    ; A repeated install keeps the folder the last one was given.
    ReadRegStr $ServerFolder HKLM "${REGKEY}" "ProgramFolder"
  ${EndIf}
FunctionEnd

Function ServerFolderPage
  !insertmacro MUI_HEADER_TEXT "Map van de server" "Waar staan server.ini en news.ini van de automatiseringsserver?"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Quorvant opent deze map bij het starten. Laat het veld leeg om de map bij de eerste start te kiezen."
  Pop $0
  ${NSD_CreateText} 0 44u 75% 13u "$ServerFolder"
  Pop $FolderField
  ${NSD_CreateBrowseButton} 77% 43u 23% 15u "&Bladeren..."
  Pop $0
  ${NSD_OnClick} $0 BrowseServerFolder
  nsDialogs::Show
FunctionEnd

Function BrowseServerFolder
  ${NSD_GetText} $FolderField $0
  nsDialogs::SelectFolderDialog "Kies de map met server.ini en news.ini" "$0"
  Pop $0
  ${If} $0 != error
    ${NSD_SetText} $FolderField "$0"
  ${EndIf}
FunctionEnd

Function ServerFolderLeave
  ${NSD_GetText} $FolderField $ServerFolder
  ${If} $ServerFolder != ""
  ${AndIfNot} ${FileExists} "$ServerFolder\*.*"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "De map $ServerFolder bestaat niet. Toch gebruiken?" IDYES +2
    Abort
  ${EndIf}
FunctionEnd

Section "Quorvant"
  SetRegView 64
  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} $ServerFolder != ""
    WriteRegStr HKLM "${REGKEY}" "ProgramFolder" "$ServerFolder"
  ${EndIf}
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Quorvant.lnk" "$INSTDIR\quorvant.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "Quorvant"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "Quorvant"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\quorvant.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTKEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetRegView 64
  ; Only what the installer put down: settings files, their history and anything else stay.
  !include "${UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Quorvant.lnk"
  DeleteRegValue HKLM "${REGKEY}" "ProgramFolder"
  DeleteRegKey /ifempty HKLM "${REGKEY}"
  DeleteRegKey /ifempty HKLM "Software\Quorvant\Quorvant"
  DeleteRegKey /ifempty HKLM "Software\Quorvant"
  DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
