; Brontel-Setup.exe: puts Brontel on a Windows PC and takes it off again.
;
; Built by the installer folder's CMake target:
;   makensis -INPUTCHARSET UTF8 -DSTAGE_DIR=<stage> -DOUTFILE=<exe> -DVERSION=<x.y.z> brontel.nsi
; where <stage> holds the stripped binaries and files.nsh (stage_files.cmake).
;
; Command line, besides NSIS's own /S (silent) and /D=<folder> (last):
;   /NOSTANDINS       leave out the virtual board and the other stand-ins
; and for Uninstall.exe, besides /S:
;   /REMOVESETTINGS   remove the user's settings too

Unicode true
SetCompressor /SOLID lzma

!ifndef STAGE_DIR | OUTFILE | VERSION
  !error "STAGE_DIR, OUTFILE and VERSION must be defined"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${STAGE_DIR}/files.nsh"

!define PRODUCT_NAME "Brontel"
!define PUBLISHER "Kestrova"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brontel"
!define KESTROVA_KEY "SOFTWARE\Kestrova"
!define PELLAMY_KEY "${KESTROVA_KEY}\Pellamy"
!define SETTINGS_KEY "${PELLAMY_KEY}\App"
!define APPSET_KEY "${SETTINGS_KEY}\AppSet"
!define IEPG_EXTENSION ".tvpi"
!define IEPG_CONTENT_TYPE "application/x-tv-program-info"
!define IEPG_PROGID "Brontel.iEPGFile"
!define IEPG_MIME_KEY "MIME\Database\Content Type\${IEPG_CONTENT_TYPE}"
; The handler that owned .tvpi before, given back by the uninstaller.
!define IEPG_PREVIOUS_VALUE "Brontel.PreviousHandler"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Kestrova\Brontel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
ShowUnInstDetails show

Var RegisterFailedName
Var RegisterFailedCode

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
; A reinstall and the uninstaller speak the language chosen at the first install.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Brontel.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "$(ProgramLanguageSwitch)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!include "${__FILEDIR__}/strings.nsh"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; ---------------------------------------------------------------------------
; What the file lists of files.nsh are applied with.

!macro InstallBinary _name
  File "${STAGE_DIR}/bin/${_name}"
!macroend

!macro InstallWindowsFile _name
  File "${STAGE_DIR}/windows/${_name}"
!macroend

!macro InstallFolderDataFile _name
  File "${STAGE_DIR}/folder/${_name}"
!macroend

!macro RemoveFolderFile _name
  Delete "$INSTDIR\${_name}"
!macroend

!macro RemoveWindowsFile _name
  Delete "$WINDIR\${_name}"
!macroend

; Registers one COM server unless an earlier one failed; a failure is kept
; in $RegisterFailedName and $RegisterFailedCode.
!macro RegisterServer _name
  ${If} $RegisterFailedName == ""
    DetailPrint "$(Registering) ${_name}"
    ClearErrors
    ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\${_name}"' $0
    ${If} ${Errors}
      StrCpy $0 "-"
    ${EndIf}
    ${If} $0 != "0"
      StrCpy $RegisterFailedName "${_name}"
      StrCpy $RegisterFailedCode $0
    ${EndIf}
  ${EndIf}
!macroend

; A server that cannot be unregistered (already gone, never registered) is
; no reason to stop removing the rest.
!macro UnregisterServer _name
  ${If} ${FileExists} "$INSTDIR\${_name}"
    DetailPrint "$(Unregistering) ${_name}"
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\${_name}"' $0
  ${EndIf}
!macroend

!macro DeleteUserKeyIfEmpty _key
  ClearErrors
  EnumRegKey $0 HKCU "${_key}" 0
  ${IfNot} ${Errors}
    EnumRegValue $1 HKCU "${_key}" 0
    ${If} $0 == ""
    ${AndIf} $1 == ""
      DeleteRegKey HKCU "${_key}"
    ${EndIf}
  ${EndIf}
!macroend

; ---------------------------------------------------------------------------
; Shared by the installer (to undo a failed install) and the uninstaller.

!macro ProductFunctions un
  ; Files cannot be replaced or removed while the program runs; its main
  ; dialog is how it is found.
  Function ${un}WaitUntilClosed
    ${Do}
      FindWindow $0 "#32770" "Brontel"
      ${If} $0 == 0
        Return
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY retry
      DetailPrint "$(ProgramRunningShort)"
      Abort "$(ProgramRunningShort)"
      retry:
    ${Loop}
  FunctionEnd

  ; Deletes a key of the user's settings tree only when nothing is left in
  ; it (shlwapi's SHDeleteEmptyKey ignores values under Wine).
  Function ${un}DeleteEmptySettingsKeys
    !insertmacro DeleteUserKeyIfEmpty "${APPSET_KEY}"
    !insertmacro DeleteUserKeyIfEmpty "${SETTINGS_KEY}"
    !insertmacro DeleteUserKeyIfEmpty "${PELLAMY_KEY}"
    !insertmacro DeleteUserKeyIfEmpty "${KESTROVA_KEY}"
  FunctionEnd

  Function ${un}RemoveFileType
    ReadRegStr $0 HKCR "${IEPG_EXTENSION}" ""
    ${If} $0 == "${IEPG_PROGID}"
      ReadRegStr $1 HKCR "${IEPG_EXTENSION}" "${IEPG_PREVIOUS_VALUE}"
      ${If} $1 != ""
        WriteRegStr HKCR "${IEPG_EXTENSION}" "" $1
        DeleteRegValue HKCR "${IEPG_EXTENSION}" "${IEPG_PREVIOUS_VALUE}"
      ${Else}
        DeleteRegKey HKCR "${IEPG_EXTENSION}"
      ${EndIf}
    ${EndIf}
    DeleteRegKey HKCR "${IEPG_PROGID}"
    ReadRegStr $0 HKCR "${IEPG_MIME_KEY}" "Extension"
    ${If} $0 == "${IEPG_EXTENSION}"
      DeleteRegKey HKCR "${IEPG_MIME_KEY}"
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
  FunctionEnd

  ; Everything the installer put in place, except the user's settings,
  ; whatever else lies in the folder (recordings, snapshots) and the
  ; uninstall entry, which goes last of all.
  Function ${un}RemoveProduct
    ; The servers still find the libraries they link while they unregister.
    SetOutPath "$INSTDIR"
    !insertmacro BrontelStandInServers UnregisterServer
    !insertmacro BrontelProgramServers UnregisterServer
    ; The folder cannot be removed while it is the working folder.
    SetOutPath "$TEMP"
    !insertmacro BrontelProgramFiles RemoveFolderFile
    !insertmacro BrontelStandInFiles RemoveFolderFile
    !insertmacro BrontelFolderDataFiles RemoveFolderFile
    !insertmacro BrontelWindowsFiles RemoveWindowsFile
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    RMDir "$PROGRAMFILES\Kestrova"

    Call ${un}RemoveFileType
    Delete "$SMPROGRAMS\Brontel\*.lnk"
    RMDir "$SMPROGRAMS\Brontel"

    DeleteRegValue HKCU "${APPSET_KEY}" "InstallPath"
    Call ${un}DeleteEmptySettingsKeys
  FunctionEnd
!macroend
!insertmacro ProductFunctions ""
!insertmacro ProductFunctions "un."

; ---------------------------------------------------------------------------
; Installer

Section "!$(NameProgram)" SecProgram
  SectionIn RO
  Call WaitUntilClosed
  SetOutPath "$INSTDIR"
  !insertmacro BrontelProgramFiles InstallBinary
  ; The board library's own file: the program keeps the current source in
  ; it, and a reinstall leaves it as it is.
  SetOverwrite off
  !insertmacro BrontelFolderDataFiles InstallFolderDataFile
  SetOverwrite on
  ; The program looks for its skin and channel tables only here.
  SetOutPath "$WINDIR"
  !insertmacro BrontelWindowsFiles InstallWindowsFile
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
SectionEnd

Section "$(NameStandIns)" SecStandIns
  SetOutPath "$INSTDIR"
  !insertmacro BrontelStandInFiles InstallBinary
SectionEnd

; After every file is in place: a filter loads the encoder library it links
; while it registers, and the working folder is where it finds it.
Section "-Register"
  SetOutPath "$INSTDIR"
  StrCpy $RegisterFailedName ""
  !insertmacro BrontelProgramServers RegisterServer
  ${If} ${SectionIsSelected} ${SecStandIns}
    !insertmacro BrontelStandInServers RegisterServer
  ${EndIf}
  ${If} $RegisterFailedName != ""
    DetailPrint "$(RegisterFailedShort)"
    Call RemoveProduct
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    MessageBox MB_OK|MB_ICONSTOP "$(RegisterFailed)" /SD IDOK
    Abort "$(RegisterFailedShort)"
  ${EndIf}
SectionEnd

Section "-Integrate"
  ; The program reads its folder with the trailing backslash.
  StrCpy $0 "$INSTDIR" "" -1
  ${If} $0 == "\"
    WriteRegStr HKCU "${APPSET_KEY}" "InstallPath" "$INSTDIR"
  ${Else}
    WriteRegStr HKCU "${APPSET_KEY}" "InstallPath" "$INSTDIR\"
  ${EndIf}

  ; A browser hands a downloaded iEPG file to the handler by its extension or
  ; by its content type. The handler takes its whole command line as the
  ; path and removes no quotes, so %1 stays unquoted.
  ReadRegStr $0 HKCR "${IEPG_EXTENSION}" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${IEPG_PROGID}"
    WriteRegStr HKCR "${IEPG_EXTENSION}" "${IEPG_PREVIOUS_VALUE}" $0
  ${EndIf}
  WriteRegStr HKCR "${IEPG_EXTENSION}" "" "${IEPG_PROGID}"
  WriteRegStr HKCR "${IEPG_EXTENSION}" "Content Type" "${IEPG_CONTENT_TYPE}"
  WriteRegStr HKCR "${IEPG_PROGID}" "" "$(IepgFileTypeName)"
  WriteRegStr HKCR "${IEPG_PROGID}\DefaultIcon" "" "$INSTDIR\BrontelIEPG.exe,0"
  WriteRegStr HKCR "${IEPG_PROGID}\shell" "" "open"
  WriteRegStr HKCR "${IEPG_PROGID}\shell\open\command" "" '"$INSTDIR\BrontelIEPG.exe" %1'
  WriteRegStr HKCR "${IEPG_MIME_KEY}" "Extension" "${IEPG_EXTENSION}"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Brontel"
  CreateShortcut "$SMPROGRAMS\Brontel\Brontel.lnk" "$INSTDIR\Brontel.exe" "$(ProgramLanguageSwitch)"
  CreateShortcut "$SMPROGRAMS\Brontel\$(UninstallShortcut).lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Brontel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallerLanguage" "$LANGUAGE"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInit
  SetShellVarContext all
  !insertmacro MUI_LANGDLL_DISPLAY
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSTANDINS" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecStandIns}
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(DescProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStandIns} "$(DescStandIns)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---------------------------------------------------------------------------
; Uninstaller

Section "!un.$(NameUnProgram)" UnSecProgram
  SectionIn RO
  Call un.WaitUntilClosed
  Call un.RemoveProduct
SectionEnd

Section /o "un.$(NameUnSettings)" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  Call un.DeleteEmptySettingsKeys
SectionEnd

; Last, so that whoever waits for the entry to go knows the removal is over.
Section "-un.RemoveUninstallEntry"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  SetShellVarContext all
  !insertmacro MUI_UNGETLANGUAGE
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecProgram} "$(DescUnProgram)"
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSecSettings} "$(DescUnSettings)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
