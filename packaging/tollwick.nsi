; The Windows installer: Tollwick for every account of the machine, started at each logon, with one
; shared bill. Built on Linux by CMake's installer target:
;   makensis -WX -DEXE=<tollwick.exe> -DUNINSTALL=<uninstall.exe> -DICON=<app.ico>
;            -DVERSION=<major.minor> -DOUTFILE=<setup.exe>
; Silent use: setup.exe /S [/NOLOGONSTART] [/D=<folder>]; uninstall.exe /S.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include MUI2.nsh

!define PRODUCT "Tollwick"
!define PUBLISHER "Orvo"
!define SETTINGS_KEY "Software\Orvo\Tollwick"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where Task Manager's Startup page keeps a Run value it has turned off.
!define STARTUP_APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tollwick"
!define MAIN_WINDOW_CLASS "TOLLWICKCLASS"
; The local Users group may query and set values, create and enumerate subkeys, be told of changes,
; delete and read the rights (KEY_READ | KEY_WRITE | DELETE), on the key and every key below it:
; what the program asks for when it opens its keys.
!define USERS_ACE "(A;OICI;CCDCLCSWRPSDRC;;;BU)"
; ERROR_ELEVATION_REQUIRED: what a run without administrator rights exits with.
!define EXIT_NOT_ADMIN 740
!define SYNCHRONIZE 0x00100000
; What the uninstaller exits with besides 0 (everything removed) and 740: ERROR_SUCCESS_REBOOT_REQUIRED
; when a file Windows holds (a Tollwick still running in another session) goes only at the next
; restart, and ERROR_DIR_NOT_EMPTY when the folder holds files the installer did not put there, which
; stay, and the folder with them.
!define EXIT_RESTART_NEEDED 3010
!define EXIT_FOLDER_KEPT 145
!define MOVEFILE_REPLACE_EXISTING 1
!define MOVEFILE_DELAY_UNTIL_REBOOT 4

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the earlier version went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}. All rights reserved."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
LangString notAdmin ${LANG_ENGLISH} "Tollwick is installed for every account of this computer, so only an administrator can install or remove it.$\r$\n$\r$\nNothing has been changed. Start it again with $\"Run as administrator$\"."
LangString notShared ${LANG_ENGLISH} "The Users group could not be given the right to write Tollwick's settings. Each account will keep its own settings and bill."


Var closedTollwick

; The installer and the uninstaller each get their own copy of these functions ("un." names the
; uninstaller's).
!macro SharedFunctions un
  ; Every account's data and the machine's Run and uninstall entries are changed, so only an
  ; administrator may go on; otherwise nothing has been touched yet when this stops.
  Function ${un}RequireAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "$(notAdmin)" /SD IDOK
      SetErrorLevel ${EXIT_NOT_ADMIN}
      Quit
    ${EndIf}
  FunctionEnd

  ; Ends each running Tollwick the way its own window ends it: WM_CLOSE destroys the main window,
  ; which takes the tray icon away and keeps the call in progress for the next start to bill.
  ; $closedTollwick says whether one ran.
  Function ${un}CloseTollwick
    StrCpy $closedTollwick 0
    ${Do}
      FindWindow $0 "${MAIN_WINDOW_CLASS}"
      ${If} $0 = 0
        ${ExitDo}
      ${EndIf}
      StrCpy $closedTollwick 1
      System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
      System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
      ; Its file is free only once the process has gone, not when its window has.
      System::Call 'kernel32::WaitForSingleObject(p r2, i 10000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
      ${If} $3 <> 0
        DetailPrint "A running Tollwick did not end within 10 seconds."
        ${ExitDo}
      ${EndIf}
    ${Loop}
  FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; The settings key, made if missing, with the Users group given read and write on it and below it,
; so that every account shares the one bill. SetNamedSecurityInfo (not RegSetKeySecurity) keeps the
; rights inherited from Software and hands the new ones down to the keys already there (.Bill and
; the accounts of an earlier version).
Function GrantUsersTheSettings
  ; NSIS makes a key only through a value in it.
  WriteRegDWORD HKLM "${SETTINGS_KEY}" "InstallerProbe" 0
  DeleteRegValue HKLM "${SETTINGS_KEY}" "InstallerProbe"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:${USERS_ACE}", i 1, *p .r0, p 0) i .r1'
  StrCpy $4 1
  ${If} $1 <> 0
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r0, *i .r5, *p .r2, *i .r3) i .r1'
    ; SE_REGISTRY_KEY 4, DACL_SECURITY_INFORMATION 4.
    System::Call 'advapi32::SetNamedSecurityInfoW(w "MACHINE\${SETTINGS_KEY}", i 4, i 4, p 0, p 0, p r2, p 0) i .r4'
    System::Call 'kernel32::LocalFree(p r0)'
  ${EndIf}
  ${If} $4 <> 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(notShared)" /SD IDOK
  ${EndIf}
FunctionEnd

Section "Tollwick" SectionProgram
  SectionIn RO
  Call CloseTollwick
  SetOutPath "$INSTDIR"
  File "/oname=tollwick.exe" "${EXE}"
  ; uninstall.exe runs the uninstaller proper, uninstall.dat, and waits for it (see
  ; packaging/uninstall/uninstall.cpp).
  File "/oname=uninstall.exe" "${UNINSTALL}"
  WriteUninstaller "$INSTDIR\uninstall.dat"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\tollwick.exe"
  Call GrantUsersTheSettings

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tollwick.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start Tollwick at every logon" SectionLogon
  ; Quoted: Program Files has a space in it.
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\tollwick.exe"'
SectionEnd

Section "-Start"
  ${IfNot} ${SectionIsSelected} ${SectionLogon}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ; The new version takes over from the one that ran; a silent install on a machine where none ran
  ; leaves the start to the next logon.
  ${If} $closedTollwick = 1
  ${OrIfNot} ${Silent}
    Exec '"$INSTDIR\tollwick.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  Call RequireAdministrator
  SetShellVarContext all
  ; An upgrade keeps an earlier choice not to start at logon; /NOLOGONSTART makes that choice.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $1 HKLM "${RUN_KEY}" "${PRODUCT}"
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/NOLOGONSTART" $3
  ${If} ${Errors}
    ${If} $0 != ""
    ${AndIf} $1 == ""
      !insertmacro UnselectSection ${SectionLogon}
    ${EndIf}
  ${Else}
    !insertmacro UnselectSection ${SectionLogon}
  ${EndIf}
FunctionEnd

Function un.onInit
  Call un.RequireAdministrator
  SetShellVarContext all
FunctionEnd

; Removes a file of the program's folder. A file Windows holds (a running program: uninstall.exe,
; which waits for this uninstaller, or a tollwick.exe of another session, which FindWindow cannot
; see) cannot be deleted but can be moved on its volume: it is moved into the temporary folder, or else beside the program's
; folder, and deleted there at the next restart. The folder then goes at once, and a new install
; into it is not undone by that restart. Pushes "gone", "moved", or "held" when even the move failed
; and the file goes from its place at the restart.
Function un.RemoveFile
  Exch $0
  Push $1
  Push $2
  Delete $0
  StrCpy $2 gone
  ${If} ${FileExists} $0
    GetTempFileName $1
    System::Call 'kernel32::MoveFileExW(w r0, w r1, i ${MOVEFILE_REPLACE_EXISTING}) i .r2'
    ${If} $2 = 0
      Delete $1
      GetTempFileName $1 "$INSTDIR\.."
      System::Call 'kernel32::MoveFileExW(w r0, w r1, i ${MOVEFILE_REPLACE_EXISTING}) i .r2'
    ${EndIf}
    ${If} $2 = 0
      Delete $1
      Delete /REBOOTOK $0
      StrCpy $2 held
    ${Else}
      System::Call 'kernel32::MoveFileExW(w r1, p 0, i ${MOVEFILE_DELAY_UNTIL_REBOOT}) i .r2'
      StrCpy $2 moved
    ${EndIf}
  ${EndIf}
  StrCpy $0 $2
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; un.RemoveFile on a file of the folder: $R8 becomes 1 when the file stays in the folder until the
; restart, and the exit code $R9 asks for a restart then, or when a file moved aside is still in use.
!macro RemoveFromFolder name movedIsInUse
  Push "$INSTDIR\${name}"
  Call un.RemoveFile
  Pop $0
  ${If} $0 == held
    StrCpy $R8 1
  ${EndIf}
  ${If} $0 == held
  ${OrIf} "${movedIsInUse}$0" == "1moved"
    StrCpy $R9 ${EXIT_RESTART_NEEDED}
  ${EndIf}
!macroend

; Every step leaves alone what is already gone, so a second uninstall, or one after a half-finished
; one, runs to the end. The settings and the bill under HKLM\${SETTINGS_KEY} are the users' ledger
; and stay. The exit code says what is left (see EXIT_RESTART_NEEDED).
Section "Uninstall"
  StrCpy $R9 0  ; the exit code
  StrCpy $R8 0  ; 1 when a file stays in the folder until the restart
  Call un.CloseTollwick
  ; A Tollwick of another session, moved aside, runs on until that session ends.
  !insertmacro RemoveFromFolder tollwick.exe 1
  ; uninstall.exe waits for this uninstaller: moved aside, it leaves nothing behind.
  !insertmacro RemoveFromFolder uninstall.exe 0
  !insertmacro RemoveFromFolder uninstall.dat 0
  ${If} ${FileExists} "$INSTDIR\*.*"
    RMDir "$INSTDIR"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\*.*"
    ${If} $R8 = 1
      RMDir /REBOOTOK "$INSTDIR"
    ${Else}
      DetailPrint "$INSTDIR holds files that Tollwick did not put there; they are left."
      StrCpy $R9 ${EXIT_FOLDER_KEPT}
    ${EndIf}
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegValue HKLM "${STARTUP_APPROVED_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetErrorLevel $R9
SectionEnd
