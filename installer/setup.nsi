; The setup program of Tapwise Crypto and its uninstaller. makensis builds it in the build
; folder (installer/CMakeLists.txt), which defines:
;   VERSION    the product's version, four numbers
;   ARCH       i686 for the shipped 32-bit setup, x86_64 for the setup of the 64-bit build
;   OUTFILE    the setup program to write
;   PROGRAMS   the generated list of the programs it carries (programs.nsh)
;   HELP_FILE  the compiled help file
;   CLEANUP    ZTCleanup.exe, which the uninstaller runs on the clean-up list
;   ICON       the main program's icon
;   SHELL64    (32-bit setup only) the 64-bit Explorer plug-in of the x86_64 build
; "/S" installs and uninstalls silently. "/FORMAT=1" or "/FORMAT=2" chooses the file format
; the programs write for every user (the machine's policy FileFormat): 1 the compatible format,
; 2 the sealed file. Without it the options page starts on the policy there is, and a silent
; setup leaves it as it is; any other value ends the setup, before it writes anything, with
; exit code 2 and the reason on its standard output.

!if ${ARCH} == x86_64
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include MUI2.nsh
!include nsDialogs.nsh
!include "${PROGRAMS}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tapwise Crypto"
!define ZENTARO_KEY "SOFTWARE\Zentaro"
!define APPLICATIONS_KEY "SOFTWARE\Zentaro\Applications"
!define PRODUCT_KEY "SOFTWARE\Zentaro\Applications\Tapwise Crypto"
!define BRANDING_KEY "SOFTWARE\Zentaro\Branding\Common"
!define DASHBOARD_KEY "SOFTWARE\Zentaro\Applications\DashBoard"
!define UNINSTALLER "Uninstall Tapwise Crypto.exe"

Name "$(ProductName)"
OutFile "${OUTFILE}"
!if ${ARCH} == x86_64
  InstallDir "$PROGRAMFILES64\Zentaro"
!else
  InstallDir "$PROGRAMFILES\Zentaro"
!endif
ShowInstDetails show
ShowUninstDetails show

VIProductVersion ${VERSION}
VIAddVersionKey /LANG=1033 ProductName "Tapwise Crypto"
VIAddVersionKey /LANG=1033 CompanyName "Zentaro"
VIAddVersionKey /LANG=1033 FileDescription "Tapwise Crypto Setup"
VIAddVersionKey /LANG=1033 FileVersion ${VERSION}
VIAddVersionKey /LANG=1033 ProductVersion ${VERSION}
VIAddVersionKey /LANG=1033 LegalCopyright "Zentaro"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderWhenGiven
!insertmacro MUI_PAGE_DIRECTORY
Page custom FormatPageShow FormatPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!include "english.nsh"

; Where the programs go (the installation folder is $INSTDIR).
Var BinFolder
; 1 when this setup installs the stand-ins for the maker's components, and with them owns the
; product's folders in the registry; 0 on a machine where the maker's product has them.
Var StandIns
; 1 when the folders are given (an earlier installation, or the maker's product).
Var FoldersGiven
; The file format the machine's policy is to name: 1 the compatible format, 2 the sealed file;
; empty when a silent setup was given none and leaves the policy as it is.
Var FileFormat
; The options page's choice of the sealed file.
Var SealedChoice

; A folder as the registry holds it, without a closing backslash.
!macro WithoutSeparator VAR
  StrCpy $R9 ${VAR} 1 -1
  ${If} $R9 == "\"
    StrCpy ${VAR} ${VAR} -1
  ${EndIf}
!macroend

; The registry view the programs do not read by default, where 64-bit Windows has a second
; copy of the values that a program of the other kind reads.
!macro OtherView
  !if ${ARCH} == x86_64
    SetRegView 32
  !else
    SetRegView 64
  !endif
!macroend

!macro ProgramsView
  !if ${ARCH} == x86_64
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

; Runs regsvr32 on a plug-in: REGSVR32 is the regsvr32 of the plug-in's kind, SWITCHES "/s"
; or "/u /s". Registration that fails ends the setup; unregistration goes on.
!macro RunRegsvr32 REGSVR32 SWITCHES DLL
  ClearErrors
  ExecWait '"${REGSVR32}" ${SWITCHES} "${DLL}"' $R1
  ${If} ${Errors}
    StrCpy $R1 "-"
  ${EndIf}
  StrCpy $R0 "${DLL}"
!macroend

!macro Register DLL
  !insertmacro RunRegsvr32 "$SYSDIR\regsvr32.exe" "/s" "${DLL}"
  Call CheckRegistration
!macroend

; Ends the setup with exit code 2 and says why ($R2). A silent setup has no window to say it in:
; it writes the reason on its standard output, which whoever started it may keep as a log.
Function StopSetup
  ${If} ${Silent}
    System::Call 'kernel32::GetStdHandle(i -11) p .r0'
    FileWrite $0 "$R2$\r$\n"
  ${EndIf}
  MessageBox MB_ICONSTOP "$R2" /SD IDOK
  Abort
FunctionEnd

Function CheckRegistration
  ${If} $R1 != 0
    StrCpy $R2 "$(RegistrationFailed)"
    Call StopSetup
  ${EndIf}
FunctionEnd

; The file format from /FORMAT, or else the machine's policy when the options page shows. A
; value that names no format is not guessed at: the administrator who gave it learns of it
; before anything is written.
Function ChooseFileFormat
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/FORMAT=" $FileFormat
  ${If} ${Errors}
    StrCpy $FileFormat ""
    ${IfNot} ${Silent}
      ReadRegDWORD $FileFormat HKLM "${PRODUCT_KEY}" "FileFormat"
      ${If} $FileFormat != 2
        StrCpy $FileFormat 1
      ${EndIf}
    ${EndIf}
  ${ElseIf} $FileFormat != 1
  ${AndIf} $FileFormat != 2
    StrCpy $R2 "$(BadFileFormat)"
    Call StopSetup
  ${EndIf}
FunctionEnd

Function .onInit
  !if ${ARCH} == x86_64
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP "$(Needs64BitWindows)" /SD IDOK
      Abort
    ${EndIf}
  !endif
  !insertmacro ProgramsView
  Call ChooseFileFormat
  StrCpy $FoldersGiven 1
  ; An earlier installation: the same folders, and the stand-ins it had.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
    ReadRegStr $BinFolder HKLM "${UNINSTALL_KEY}" "BinFolder"
    ReadRegStr $StandIns HKLM "${UNINSTALL_KEY}" "StandIns"
    Return
  ${EndIf}
  ; The maker's product: its components stay, and the suite goes into its folders, where the
  ; programs find its libraries.
  ReadRegStr $0 HKLM "${ZENTARO_KEY}" "ZentaroPath"
  ReadRegStr $1 HKLM "${APPLICATIONS_KEY}" "BinDir"
  !insertmacro WithoutSeparator $0
  !insertmacro WithoutSeparator $1
  ${If} $0 != ""
  ${AndIf} $1 != ""
  ${AndIf} ${FileExists} "$1\ZTFPApi.dll"
    StrCpy $INSTDIR $0
    StrCpy $BinFolder $1
    StrCpy $StandIns 0
    Return
  ${EndIf}
  StrCpy $FoldersGiven 0
  StrCpy $StandIns 1
FunctionEnd

Function SkipFolderWhenGiven
  ${If} $FoldersGiven == 1
    Abort
  ${EndIf}
FunctionEnd

Function FormatPageShow
  !insertmacro MUI_HEADER_TEXT "$(FormatPageTitle)" "$(FormatPageSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateFirstRadioButton} 0 0 100% 12u "$(CompatibleFormat)"
  Pop $1
  ${NSD_CreateLabel} 12u 13u -12u 20u "$(CompatibleFormatNote)"
  Pop $0
  ${NSD_CreateAdditionalRadioButton} 0 40u 100% 12u "$(SealedFormat)"
  Pop $SealedChoice
  ${NSD_CreateLabel} 12u 53u -12u 20u "$(SealedFormatNote)"
  Pop $0
  ${If} $FileFormat == 2
    ${NSD_Check} $SealedChoice
  ${Else}
    ${NSD_Check} $1
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function FormatPageLeave
  ${NSD_GetState} $SealedChoice $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $FileFormat 2
  ${Else}
    StrCpy $FileFormat 1
  ${EndIf}
FunctionEnd

; The policy in the programs' view, where they read it. Choosing the compatible format takes
; back only the sealed file's 2 that a setup wrote: an administrator's own 1 stays.
Function WriteFileFormat
  ${If} $FileFormat == 2
    WriteRegDWORD HKLM "${PRODUCT_KEY}" "FileFormat" 2
  ${ElseIf} $FileFormat == 1
    ReadRegDWORD $0 HKLM "${PRODUCT_KEY}" "FileFormat"
    ${If} $0 == 2
      DeleteRegValue HKLM "${PRODUCT_KEY}" "FileFormat"
    ${EndIf}
  ${EndIf}
FunctionEnd

; The installation folder, the bin folder and the branding library, which the programs read.
; A 32-bit program reads the installation folder in the 64-bit view on 64-bit Windows, and
; the 64-bit Explorer plug-in the branding library there: both are in both views.
Function WriteProductFolders
  WriteRegStr HKLM "${ZENTARO_KEY}" "ZentaroPath" "$INSTDIR\"
  WriteRegStr HKLM "${APPLICATIONS_KEY}" "BinDir" "$BinFolder\"
  WriteRegStr HKLM "${BRANDING_KEY}" "DLLPath" "$BinFolder\ZTBranding.dll"
  ${If} ${RunningX64}
    !insertmacro OtherView
    WriteRegStr HKLM "${ZENTARO_KEY}" "ZentaroPath" "$INSTDIR\"
    WriteRegStr HKLM "${BRANDING_KEY}" "DLLPath" "$BinFolder\ZTBranding.dll"
    !insertmacro ProgramsView
  ${EndIf}
FunctionEnd

; Each module registers itself: the file type and the extension filter, the Explorer plug-in
; (on 64-bit Windows the 64-bit one too, with the 64-bit regsvr32) and the dashboard plug-in.
Function RegisterModules
  ; The program's exit code is its registration's HRESULT, 0 when every entry was written;
  ; the open command of its file type, with the program's own path, is checked as well.
  StrCpy $R0 "$BinFolder\ZTFileEn.exe"
  ExecWait '"$R0" /RegServer' $R1
  ReadRegStr $R2 HKCR "Tapwise Crypto\shell\open\command" ""
  ${If} $R2 != '$R0 "%1"'
    StrCpy $R1 "-"
  ${EndIf}
  Call CheckRegistration
  !insertmacro Register "$BinFolder\${SHELL_PLUGIN}"
  !ifdef SHELL64
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
      !insertmacro RunRegsvr32 "$SYSDIR\regsvr32.exe" "/s" "$BinFolder\ZTShell64.dll"
      ${EnableX64FSRedirection}
      Call CheckRegistration
    ${EndIf}
  !endif
  !insertmacro Register "$BinFolder\ZTFileProtect.dll"
FunctionEnd

Function AddShortcuts
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\$(ProductName)"
  CreateShortCut "$SMPROGRAMS\$(ProductName)\$(ProductName).lnk" "$BinFolder\ZTFileEn.exe"
  CreateShortCut "$SMPROGRAMS\$(ProductName)\$(RecoveryName).lnk" "$BinFolder\ZTRecDsk.exe"
  ${If} $StandIns == 1
    CreateShortCut "$SMPROGRAMS\$(ProductName)\$(DashboardName).lnk" "$BinFolder\ZTDashBoard.exe"
  ${EndIf}
FunctionEnd

; The entry in the system's list of installed programs, with what the uninstaller needs.
Function WriteUninstallEntry
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(ProductName)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "$(Publisher)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$BinFolder\ZTFileEn.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "BinFolder" "$BinFolder"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "StandIns" "$StandIns"
FunctionEnd

Section
  ${If} $BinFolder == ""
    StrCpy $BinFolder "$INSTDIR\bin"
  ${EndIf}
  SetOutPath "$BinFolder"
  !insertmacro InstallSuitePrograms
  !ifdef SHELL64
    ${If} ${RunningX64}
      File "${SHELL64}"
    ${EndIf}
  !endif
  ${If} $StandIns == 1
    !insertmacro InstallStandIns
  ${EndIf}
  SetOutPath "$INSTDIR\Help"
  File "${HELP_FILE}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ${If} $StandIns == 1
    Call WriteProductFolders
  ${EndIf}
  Call RegisterModules
  Call WriteFileFormat
  Call AddShortcuts
  Call WriteUninstallEntry
SectionEnd

; ---- The uninstaller ----

!macro Unregister DLL
  !insertmacro RunRegsvr32 "$SYSDIR\regsvr32.exe" "/u /s" "${DLL}"
!macroend

; Deletes a key of the product's tree when nothing is left in it: no sub-key, no value.
!macro RemoveEmptyKey KEY
  EnumRegKey $0 HKLM "${KEY}" 0
  EnumRegValue $1 HKLM "${KEY}" 0
  ${If} $0 == ""
  ${AndIf} $1 == ""
    DeleteRegKey /ifempty HKLM "${KEY}"
  ${EndIf}
!macroend

!macro RemoveProductFoldersInView
  DeleteRegValue HKLM "${ZENTARO_KEY}" "ZentaroPath"
  DeleteRegValue HKLM "${APPLICATIONS_KEY}" "BinDir"
  DeleteRegValue HKLM "${BRANDING_KEY}" "DLLPath"
  ; The dashboard stand-in's keys, which the dashboard plug-in leaves when it unregisters.
  !insertmacro RemoveEmptyKey "${DASHBOARD_KEY}\PlugIns"
  !insertmacro RemoveEmptyKey "${DASHBOARD_KEY}\Help"
  !insertmacro RemoveEmptyKey "${DASHBOARD_KEY}"
  !insertmacro RemoveEmptyKey "${APPLICATIONS_KEY}"
  !insertmacro RemoveEmptyKey "${BRANDING_KEY}"
  !insertmacro RemoveEmptyKey "${ZENTARO_KEY}\Branding"
  !insertmacro RemoveEmptyKey "${ZENTARO_KEY}"
!macroend

Function un.onInit
  !insertmacro ProgramsView
  ReadRegStr $BinFolder HKLM "${UNINSTALL_KEY}" "BinFolder"
  ReadRegStr $StandIns HKLM "${UNINSTALL_KEY}" "StandIns"
  ${If} $BinFolder == ""
    StrCpy $BinFolder "$INSTDIR\bin"
  ${EndIf}
FunctionEnd

Section Uninstall
  ; Each module removes its own registration and leaves in Cleanup.txt the per-user settings
  ; that only an uninstaller removes.
  ExecWait '"$BinFolder\ZTFileEn.exe" /UnregServer'
  !insertmacro Unregister "$BinFolder\${SHELL_PLUGIN}"
  !ifdef SHELL64
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
      !insertmacro RunRegsvr32 "$SYSDIR\regsvr32.exe" "/u /s" "$BinFolder\ZTShell64.dll"
      ${EnableX64FSRedirection}
    ${EndIf}
  !endif
  !insertmacro Unregister "$BinFolder\ZTFileProtect.dll"

  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${CLEANUP}"
  ExecWait '"$PLUGINSDIR\ZTCleanup.exe" "$INSTDIR\Cleanup.txt"'
  SetOutPath "$TEMP"
  Delete "$INSTDIR\Cleanup.txt"

  ; Only what the setup installed: the user's encrypted files, the list of decrypted items
  ; and the secrets stay. A plug-in still loaded by Explorer goes at the next start.
  !insertmacro DeleteSuitePrograms
  !ifdef SHELL64
    Delete /REBOOTOK "$BinFolder\ZTShell64.dll"
  !endif
  ${If} $StandIns == 1
    !insertmacro DeleteStandIns
  ${EndIf}
  Delete "$INSTDIR\Help\ztcrypt.chm"
  RMDir "$INSTDIR\Help"
  RMDir "$BinFolder"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\$(ProductName)\$(ProductName).lnk"
  Delete "$SMPROGRAMS\$(ProductName)\$(RecoveryName).lnk"
  Delete "$SMPROGRAMS\$(ProductName)\$(DashboardName).lnk"
  RMDir "$SMPROGRAMS\$(ProductName)"

  ${If} $StandIns == 1
    !insertmacro RemoveProductFoldersInView
    ${If} ${RunningX64}
      !insertmacro OtherView
      !insertmacro RemoveProductFoldersInView
      !insertmacro ProgramsView
    ${EndIf}
  ${EndIf}
  ; Last, so that whoever waits for the uninstaller sees it finished when the entry is gone.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
