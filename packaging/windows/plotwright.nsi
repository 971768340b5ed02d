; The Windows installer of Plotwright: for the current user, without administrator rights, the files of the
; zip into %LOCALAPPDATA%\Programs\Plotwright (or a folder the user chooses), a Start-menu shortcut, .info
; and .quest opened by a double click, and an entry in "Apps & features".
; scripts/package-windows runs it: makensis -DVERSION=... -DLISTS=... -DOUTFILE=... -DICON=... plotwright.nsi,
; where LISTS holds install-files.nsh and uninstall-files.nsh, made from the zip's folder, and ICON is the
; program's icon as the build made it.

; A 64-bit installer for a 64-bit program: it also runs where Windows has no 32-bit layer (Wine without one).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotwright"
!define CLASSES "Software\Classes"

Name "Plotwright"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Plotwright"
; An update goes where the version before it went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Plotwright ${VERSION}"

!define MUI_FINISHPAGE_RUN "$INSTDIR\plotwright.exe"
; The program's own icon (the one plotwright.exe carries) for the installer and the uninstaller.
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; English first: the installer speaks it on every system whose language it does not have.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString OpenVerb ${LANG_ENGLISH} "Open in Plotwright"
LangString OpenVerb ${LANG_RUSSIAN} "Открыть в Plotwright"
LangString InfoType ${LANG_ENGLISH} "Gothic 3 dialogue"
LangString InfoType ${LANG_RUSSIAN} "Диалог Gothic 3"
LangString QuestType ${LANG_ENGLISH} "Gothic 3 quest"
LangString QuestType ${LANG_RUSSIAN} "Квест Gothic 3"
LangString ProgramSection ${LANG_ENGLISH} "Plotwright"
LangString ProgramSection ${LANG_RUSSIAN} "Plotwright"
LangString SettingsSection ${LANG_ENGLISH} "Remove settings"
LangString SettingsSection ${LANG_RUSSIAN} "Удалить настройки"

; Registers extension (".info") for ProgID: always among "Open with", and its default only where it has none.
!macro Associate extension progId description
  WriteRegStr HKCU "${CLASSES}\${progId}" "" "${description}"
  WriteRegStr HKCU "${CLASSES}\${progId}\DefaultIcon" "" "$INSTDIR\plotwright.exe,0"
  WriteRegStr HKCU "${CLASSES}\${progId}\shell\open" "" "$(OpenVerb)"
  WriteRegStr HKCU "${CLASSES}\${progId}\shell\open\command" "" '"$INSTDIR\plotwright.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\${extension}\OpenWithProgids" "${progId}" ""
  ReadRegStr $0 HKCR "${extension}" ""
  ${If} $0 == ""
    WriteRegStr HKCU "${CLASSES}\${extension}" "" "${progId}"
  ${EndIf}
!macroend

; Takes back what Associate wrote, and the default only while it is still ours.
!macro Dissociate extension progId
  DeleteRegKey HKCU "${CLASSES}\${progId}"
  DeleteRegValue HKCU "${CLASSES}\${extension}\OpenWithProgids" "${progId}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\${extension}\OpenWithProgids"
  ReadRegStr $0 HKCU "${CLASSES}\${extension}" ""
  ${If} $0 == "${progId}"
    DeleteRegValue HKCU "${CLASSES}\${extension}" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${CLASSES}\${extension}"
!macroend

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "$(ProgramSection)" Program
  SectionIn RO
  ; An older version is removed first, keeping the settings, so that no file it had and this one lacks
  ; stays behind.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\uninstall.exe"
    ExecWait '"$0\uninstall.exe" /S _?=$0'
    Delete "$0\uninstall.exe"
    RMDir "$0" ; gone where this version goes elsewhere and no settings file stayed there
  ${EndIf}

  !include "${LISTS}\install-files.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Plotwright.lnk" "$INSTDIR\plotwright.exe"

  !insertmacro Associate ".info" "Plotwright.info" "$(InfoType)"
  !insertmacro Associate ".quest" "Plotwright.quest" "$(QuestType)"
  ; Explorer shows the new icons and verbs at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Plotwright"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Plotwright"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plotwright.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.$(ProgramSection)" UnProgram
  SectionIn RO
  !include "${LISTS}\uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Plotwright.lnk"
  !insertmacro Dissociate ".info" "Plotwright.info"
  !insertmacro Dissociate ".quest" "Plotwright.quest"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked: the settings file beside the program, or where the program keeps it when that
; folder cannot be written.
Section /o "un.$(SettingsSection)" UnSettings
  Delete "$INSTDIR\plotwright.inf"
  Delete "$LOCALAPPDATA\plotwright\plotwright.inf"
  RMDir "$LOCALAPPDATA\plotwright"
SectionEnd

; The folder goes last, and only when nothing is left in it (a settings file kept, a file of the user's).
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd
