; Setup program of the KorVane control panel: a per-machine 64-bit install
; with a Start-menu shortcut, an "Apps & features" entry, an optional start at
; log-in and an optional simulated audio interface for trying the panel
; without the hardware.
;
; Built by the CMake target "installer", which defines:
;   VERSION, VERSION_MAJOR, VERSION_MINOR  the program's version (x.y.z)
;   PROGRAM                                the built KorVaneControls.exe
;   KVCTL                                  the console tool kvctl.exe
;   SIM_DLL, SIM_CTL                       tusbaudioapi.dll and simctl.exe
;   ICON                                   the program's icon
;   OUTFILE                                the setup program to write
;
; Command line, besides /S (silent) and /D=DIR (install folder, last):
;   /SIMULATOR     also install the simulated audio interface
;   /NOAUTOSTART   do not start the panel at log-in

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "KorVane Controls"
!define PUBLISHER "KorVane"
!define EXE "KorVaneControls.exe"
!define UNINSTALLER "Uninstall.exe"
!define KVCTL_FILE "kvctl.exe"
; The program's single-instance mutex, alive exactly as long as a panel runs.
!define INSTANCE_MUTEX "KorVaneControls"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorVaneControls"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "KorVaneControls"
; Where the panel looks for the driver's API library.
!define DRIVER_KEY "CLSID\{D47F9B6B-E6C3-46FA-858F-E692150E9166}\InprocServer32"
!define SIM_FILE "tusbaudioapi.dll"
!define SIM_CTL_FILE "simctl.exe"
; Set in the uninstall key while the simulated interface registered by this
; installer is in place; nothing else is ever unregistered.
!define SIM_MARKER "KorVaneSimulator"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Var ForeignDriver    ; a driver library registered by someone else, or ""
Var SimDescription
Var ComponentsText

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "$ComponentsText"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running panel to quit through the installed program's own "-exitall"
; and waits until its process has ended, so that no file is in use. The
; time-out only guards against a program that ignores the option; "-exitall"
; itself gives up after about ten seconds. Nothing is in use before the
; first install.
!macro DEFINE_CLOSE_PANEL un
Function ${un}ClosePanel
    ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
        Return
    ${EndIf}
    retry:
    DetailPrint "Closing ${PRODUCT} if it is running"
    System::Alloc 104
    Pop $3 ; STARTUPINFOW, zeroed, with its size
    System::Call '*$3(i 104)'
    System::Alloc 24
    Pop $4 ; PROCESS_INFORMATION
    System::Call 'kernel32::CreateProcessW(p 0, w `"$INSTDIR\${EXE}" -exitall`, p 0, p 0, i 0, i 0, p 0, p 0, p r3, p r4) i.r0'
    ${If} $0 <> 0
        System::Call '*$4(p.r5, p.r6)'
        System::Call 'kernel32::WaitForSingleObject(p r5, i 20000) i.r0'
        ${If} $0 <> 0
            System::Call 'kernel32::TerminateProcess(p r5, i 1)'
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r5)'
        System::Call 'kernel32::CloseHandle(p r6)'
    ${EndIf}
    System::Free $3
    System::Free $4
    ; The window goes before the process has ended: wait until the instance
    ; mutex is gone and the program file can be written again.
    StrCpy $1 0
    ${Do}
        System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${INSTANCE_MUTEX}") p.r2'
        ${If} $2 == 0
            ClearErrors
            FileOpen $2 "$INSTDIR\${EXE}" a
            ${IfNot} ${Errors}
                FileClose $2
                Return
            ${EndIf}
        ${Else}
            System::Call 'kernel32::CloseHandle(p r2)'
        ${EndIf}
        ${If} $1 >= 100
            ${ExitDo}
        ${EndIf}
        Sleep 100
        IntOp $1 $1 + 1
    ${Loop}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running and did not close.$\r$\nClose it and choose Retry, or choose Cancel to stop." \
        /SD IDCANCEL IDRETRY retry
    DetailPrint "${PRODUCT} is still running; nothing was changed."
    SetErrorLevel 3
    Abort
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PANEL ""
!insertmacro DEFINE_CLOSE_PANEL "un."

; Removes the simulated interface if this installer put it there. The
; registration is removed only while it still names our file: a driver
; registered since then is left alone.
!macro DEFINE_REMOVE_SIMULATOR un
Function ${un}RemoveSimulator
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${SIM_MARKER}"
    ${If} $0 != 1
        Return
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCR "${DRIVER_KEY}" ""
    ${If} $1 == "$INSTDIR\${SIM_FILE}"
        UnRegDLL "$INSTDIR\${SIM_FILE}"
    ${EndIf}
    Delete "$INSTDIR\${SIM_FILE}"
    Delete "$INSTDIR\${SIM_CTL_FILE}"
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "${SIM_MARKER}"
FunctionEnd
!macroend
!insertmacro DEFINE_REMOVE_SIMULATOR ""
!insertmacro DEFINE_REMOVE_SIMULATOR "un."

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call ClosePanel
    SetOutPath "$INSTDIR"
    File "/oname=${EXE}" "${PROGRAM}"
    File "/oname=${KVCTL_FILE}" "${KVCTL}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
SectionEnd

Section "Start at log-in, in the notification area" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}" -hide'
SectionEnd

Section /o "Simulated audio interface" SecSimulator
    ${If} $ForeignDriver != ""
        DetailPrint "A driver library is already registered ($ForeignDriver); the simulated interface is not installed."
        Return
    ${EndIf}
    SetOutPath "$INSTDIR"
    File "/oname=${SIM_FILE}" "${SIM_DLL}"
    File "/oname=${SIM_CTL_FILE}" "${SIM_CTL}"
    ClearErrors
    RegDLL "$INSTDIR\${SIM_FILE}"
    ReadRegStr $0 HKCR "${DRIVER_KEY}" ""
    ${If} $0 == "$INSTDIR\${SIM_FILE}"
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${SIM_MARKER}" 1
    ${Else}
        Delete "$INSTDIR\${SIM_FILE}"
        Delete "$INSTDIR\${SIM_CTL_FILE}"
        MessageBox MB_OK|MB_ICONEXCLAMATION "The simulated audio interface could not be registered." /SD IDOK
        SetErrorLevel 4
    ${EndIf}
SectionEnd

; Components left out when installing again are taken away, then the
; "Apps & features" entry is written with the size of what is installed.
Section "-Register"
    ${IfNot} ${SectionIsSelected} ${SecAutostart}
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    ${IfNot} ${SectionIsSelected} ${SecSimulator}
        Call RemoveSimulator
    ${EndIf}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The control panel of the KorVane USB audio interface, and kvctl, its console tool."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecAutostart} "Start the panel hidden in the notification area when you log in."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} $SimDescription
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Decides whether the simulated interface may be offered: never when a driver
; library is registered that this installer did not register itself.
Function DetectDriver
    StrCpy $SimDescription "A simulated audio interface for trying the panel without the hardware. It registers itself as the driver library."
    StrCpy $ComponentsText "Choose the components to install."
    ClearErrors
    ReadRegStr $0 HKCR "${DRIVER_KEY}" ""
    ${If} ${Errors}
        Return
    ${EndIf}
    ReadRegDWORD $1 HKLM "${UNINSTALL_KEY}" "${SIM_MARKER}"
    ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $1 == 1
    ${AndIf} $0 == "$2\${SIM_FILE}"
        ; Ours from an earlier install: keep it unless it is deselected.
        !insertmacro SelectSection ${SecSimulator}
        Return
    ${EndIf}
    StrCpy $ForeignDriver $0
    StrCpy $SimDescription "Not available: a driver library is already registered ($0). It is left as it is."
    StrCpy $ComponentsText "A driver library is already registered, so the simulated audio interface cannot be installed; the registered driver is left as it is."
    SectionSetText ${SecSimulator} "Simulated audio interface (unavailable)"
FunctionEnd

Function .onInit
    Call DetectDriver
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/SIMULATOR" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecSimulator}
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/NOAUTOSTART" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
    ${If} $ForeignDriver != ""
        !insertmacro UnselectSection ${SecSimulator}
        !insertmacro SetSectionFlag ${SecSimulator} ${SF_RO}
    ${EndIf}
FunctionEnd

; Removes exactly what the installer added: files the user put into the
; folder stay, and so does the folder then.
Section "Uninstall"
    Call un.ClosePanel
    Call un.RemoveSimulator
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\${KVCTL_FILE}"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
