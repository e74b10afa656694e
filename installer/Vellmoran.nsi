; Setup for Vellmoran: the control panel and the lock daemon in one folder, a
; Start menu shortcut and an entry in Programs and Features.
; The build defines VERSION, PANEL_EXE, DAEMON_EXE, ICON and OUTFILE.

!ifdef AMD64
; The 64-bit build, for the tests on machines that run no 32-bit programs.
Target amd64-unicode
!else
Unicode true
!endif
SetCompressor /SOLID lzma
; Program Files and HKLM: nothing here works without administrator rights.
RequestExecutionLevel admin
ManifestSupportedOS all
BrandingText "Vellmoran ${VERSION}"
; A program that cannot be written stops setup rather than being skipped.
AllowSkipFiles off

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellmoran"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\Vellmoran Control Panel.lnk"
!define DAEMON_WINDOW "V3LLM0R4ND"
!define DAEMON_WAIT_MS 10000

Name "Vellmoran ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Vellmoran"
; An upgrade goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "1.2.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Vellmoran"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Vellmoran ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Vellmoran"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 Vellmoran"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Vellmoran locks your screen with a password when you press its key, sweep the mouse across the screen or leave the computer idle.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Vellmoran now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartDaemonAsUser
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Vellmoran when I log on"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION RegisterLaunchOnStartup

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW OfferLogOnOnlyWhenFresh
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Sets $R3 to what is wrong when a program in $INSTDIR cannot be written.
!macro BLOCKED_UNLESS_WRITABLE file
    ${If} ${FileExists} "$INSTDIR\${file}"
        ClearErrors
        FileOpen $R4 "$INSTDIR\${file}" a
        ${If} ${Errors}
            StrCpy $R3 "$INSTDIR\${file} is in use.$\r$\nClose the Vellmoran Control Panel and end VellmoranD.exe."
        ${Else}
            FileClose $R4
        ${EndIf}
    ${EndIf}
!macroend

; Asks a running daemon to close, as the control panel does (WM_CLOSE to its
; window), and waits until its window is gone and both programs in $INSTDIR
; can be written (a process may hold its file a moment after its window
; went). Gives up after DAEMON_WAIT_MS, offering to try again; leaves on the
; stack "" when the files are free, else what stands in the way.
!macro DEFINE_FREE_PROGRAMS un
Function ${un}FreePrograms
    Push $R0  ; daemon window
    Push $R1  ; window last asked to close
    Push $R2  ; tick count when the wait began
    Push $R3  ; what blocks, "" when nothing
    Push $R4  ; file handle, milliseconds waited
    StrCpy $R1 0
    System::Call "kernel32::GetTickCount() i .R2"
    ${Do}
        StrCpy $R3 ""
        FindWindow $R0 "" "${DAEMON_WINDOW}"
        ${If} $R0 <> 0
            ${If} $R0 <> $R1
                DetailPrint "Asking the Vellmoran lock daemon to close"
                System::Call "user32::PostMessage(p R0, i ${WM_CLOSE}, p 0, p 0)"
                StrCpy $R1 $R0
            ${EndIf}
            StrCpy $R3 "The Vellmoran lock daemon is running and did not close when asked.$\r$\nEnd VellmoranD.exe in Task Manager."
        ${Else}
            !insertmacro BLOCKED_UNLESS_WRITABLE "Vellmoran.exe"
            !insertmacro BLOCKED_UNLESS_WRITABLE "VellmoranD.exe"
        ${EndIf}
        ${If} $R3 == ""
            ${ExitDo}
        ${EndIf}
        System::Call "kernel32::GetTickCount() i .R4"
        IntOp $R4 $R4 - $R2
        ${If} $R4 >= ${DAEMON_WAIT_MS}
            MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$R3$\r$\n$\r$\nNothing has been changed." /SD IDCANCEL IDCANCEL blocked
            StrCpy $R1 0
            System::Call "kernel32::GetTickCount() i .R2"
        ${EndIf}
        Sleep 250
    ${Loop}
    blocked:
    StrCpy $R0 $R3
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Exch $R0
FunctionEnd
!macroend
!insertmacro DEFINE_FREE_PROGRAMS ""
!insertmacro DEFINE_FREE_PROGRAMS "un."

; Stops setup or the uninstaller before it changes anything if the programs
; cannot be freed; the exit code tells a silent caller.
!macro STOP_UNLESS_PROGRAMS_FREE un
    Call ${un}FreePrograms
    Pop $0
    ${If} $0 != ""
        SetErrorLevel 2
        Abort "$0"
    ${EndIf}
!macroend

; Windows XP has no elevation prompt: a user without administrator rights is
; told so at once instead of failing half-way in Program Files.
!macro ALL_USERS_AS_ADMINISTRATOR
    SetShellVarContext all
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "admin"
        MessageBox MB_ICONSTOP "Vellmoran is installed for all users of this computer and needs administrator rights.$\r$\nLog on as an administrator and try again." /SD IDOK
        SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
!macroend

; 1 when this install put the programs into a folder that had none: only
; then does setup decide about the Run value; an upgrade keeps the user's.
Var FreshInstall
; 1 when /NOSTARTUP asks a silent install to leave the Run value alone.
Var NoStartup

Function .onInit
    !insertmacro ALL_USERS_AS_ADMINISTRATOR
    StrCpy $NoStartup 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOSTARTUP" $1
    ${IfNot} ${Errors}
        StrCpy $NoStartup 1
    ${EndIf}
FunctionEnd

; The same value the control panel's "Launch on Startup" writes: the daemon's
; path, bare, as REG_SZ.
Function RegisterLaunchOnStartup
    WriteRegStr HKLM "${RUN_KEY}" "VellmoranD" "$INSTDIR\VellmoranD.exe"
FunctionEnd

; Setup runs elevated; the daemon must run as the user who is logged on, so
; the shell starts it.
Function StartDaemonAsUser
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\VellmoranD.exe"'
FunctionEnd

Function OfferLogOnOnlyWhenFresh
    ${If} $FreshInstall != 1
        SendMessage $mui.FinishPage.ShowReadme ${BM_SETCHECK} 0 0  ; unchecked
        ShowWindow $mui.FinishPage.ShowReadme ${SW_HIDE}
    ${EndIf}
FunctionEnd

; One record of the settings file: the key and the value, each an ANSI text
; padded with zeros to its field, 128 and 2048 bytes.
!macro WRITE_FIELD handle text width
    FileWrite ${handle} "${text}"
    StrLen $R1 "${text}"
    IntOp $R1 ${width} - $R1
    ${For} $R2 1 $R1
        FileWriteByte ${handle} 0
    ${Next}
!macroend
!macro WRITE_RECORD handle key value
    !insertmacro WRITE_FIELD ${handle} "${key}" 128
    !insertmacro WRITE_FIELD ${handle} "${value}" 2048
!macroend

; The panel's help tells a new user to press PAUSE: a first settings file
; arms that key, the rest at the wizard's defaults, in the wizard's order.
Function WriteFirstSettings
    ${If} ${FileExists} "$INSTDIR\Vellmoran.bin"
        Return
    ${EndIf}
    FileOpen $R0 "$INSTDIR\Vellmoran.bin" w
    !insertmacro WRITE_RECORD $R0 "m_nVirtualKey" "19"
    !insertmacro WRITE_RECORD $R0 "m_bScreenwipe" "0"
    !insertmacro WRITE_RECORD $R0 "m_bScreensaver" "0"
    !insertmacro WRITE_RECORD $R0 "m_nVelocity" "500"
    !insertmacro WRITE_RECORD $R0 "m_nDelay" "5"
    FileClose $R0
FunctionEnd

Function un.onInit
    !insertmacro ALL_USERS_AS_ADMINISTRATOR
FunctionEnd

Section "Vellmoran"
    !insertmacro STOP_UNLESS_PROGRAMS_FREE ""
    StrCpy $FreshInstall 1
    ${If} ${FileExists} "$INSTDIR\VellmoranD.exe"
        StrCpy $FreshInstall 0
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "/oname=Vellmoran.exe" "${PANEL_EXE}"
    File "/oname=VellmoranD.exe" "${DAEMON_EXE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\Vellmoran.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Vellmoran ${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vellmoran"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vellmoran.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ; An existing Vellmoran.bin and the Run value of an upgrade are the
    ; user's: setup never touches them.
    Call WriteFirstSettings
    ${If} ${Silent}
    ${AndIf} $FreshInstall == 1
    ${AndIf} $NoStartup != 1
        Call RegisterLaunchOnStartup
    ${EndIf}
SectionEnd

Section "Uninstall"
    !insertmacro STOP_UNLESS_PROGRAMS_FREE "un."
    Delete "$INSTDIR\Vellmoran.exe"
    Delete "$INSTDIR\VellmoranD.exe"
    Delete "${SHORTCUT}"

    ; The panel registers "<its folder>\VellmoranD.exe"; a value that points
    ; elsewhere belongs to another copy and stays.
    ReadRegStr $0 HKLM "${RUN_KEY}" "VellmoranD"
    StrLen $1 "$INSTDIR\"
    StrCpy $2 $0 $1
    ${If} $2 == "$INSTDIR\"
        DeleteRegValue HKLM "${RUN_KEY}" "VellmoranD"
    ${EndIf}

    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Remove your Vellmoran settings as well (password, activation key and lock options)?$\r$\n$\r$\nKeep them to use them again after a new install." \
        /SD IDNO IDNO keep_settings
        Delete "$INSTDIR\Vellmoran.bin"
        Goto settings_decided
    keep_settings:
        ${If} ${FileExists} "$INSTDIR\Vellmoran.bin"
            DetailPrint "Your settings stay in $INSTDIR\Vellmoran.bin"
            MessageBox MB_OK|MB_ICONINFORMATION \
                "Your Vellmoran settings stay in $INSTDIR\Vellmoran.bin.$\r$\n$\r$\nA new install in $INSTDIR picks them up." \
                /SD IDOK
        ${EndIf}
    settings_decided:
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; Last: the quiet uninstaller returns at once and finishes from a copy of
    ; itself, so a caller that waits for this key to go knows it is done.
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
