#include "inf/InfWriters.h"
#include "inf/NoticeBlock.h"
#include "inf/TemplateText.h"

namespace usbwiz {

namespace {

// The Windows 2000 serial INF: installs interface 0 as a Ports device on the NT line.
// clang-format off
constexpr std::string_view kTemplate = R"inf(
;*****************************************************************************
;
; Name:  {{InfPrefix}}w2k.inf
;
; Function:
;{{TAB}}Install the {{ComDeviceName}} (WDM) on Win2000
;
{{NoticeBlock}}
;
;*****************************************************************************

[Version]
signature="$WINDOWS NT$"
Class=Ports
ClassGuid={4D36E978-E325-11CE-BFC1-08002BE10318}
Provider=%Provider%
DriverVer=12/16/2004, 4.28.0.2700
{{CatalogComment}}CatalogFile={{InfPrefix}}ser.cat

[ControlFlags]
ExcludeFromSelect = *

[SourceDisksNames]
; diskid = description[, [tagfile] [, <unused>, subdir]]
1=%DiskString%,"tarnser.sys",,

[SourceDisksFiles]
; filename = diskid[,[ subdir][, size]]
tarnser.sys = 1
tarncmnt.sys = 1

;-----------------------------------------------------------------------------
; Specify target paths...
;-----------------------------------------------------------------------------

[DestinationDirs]
DefaultDestDir = 12                    ; system32\drivers
CopyFiles = 12                         ; system32\drivers
CopyFiles.Win2K = 12                   ;

;-----------------------------------------------------------------------------
; Table of Contents
;-----------------------------------------------------------------------------
[Manufacturer]
%TARN%=TARN

;-----------------------------------------------------------------------------
; Device-by-device entries
;-----------------------------------------------------------------------------
[TARN]
%TARN.Comm.Desc% = TARN.Install, USB\VID_{{Vid}}&PID_{{Pid}}&MI_00&OS_NT

;-----------------------------------------------------------------------------
; Installation instructions
;-----------------------------------------------------------------------------

[TARN.Install.nt]
AddReg{{TAB}}{{TAB}}= TARN.AddReg,TARN.NT.AddReg
CopyFiles{{TAB}}= CopyFiles, CopyFiles.Win2K

;-----------------------------------------------------------------------------
;  Registry
;-----------------------------------------------------------------------------

; common registry entries {{END}}
[TARN.AddReg]
HKR,,NTMPDriver,,tarnser.sys
HKR,,RateLimitPurgeMS, 0x10001, 0x64, 0x00, 0x00, 0x00
HKR,,OverrideDefaultPortSettings, 0x10001, 01,00,00,00
HKR,,InitialBaudRate, 0x10001, 00,C2,01,00                      ;115200 initial baud rate
HKR,,InitialLineControl,, "8N1"                                 ;8-bits, No parity, 1 stop bit

; only for NT...
[TARN.NT.AddReg]
HKR,,PortSubClass,1,01
HKR,,EnumPropPages32,,"MsPorts.dll,SerialPortPropPageProvider"

;-----------------------------------------------------------------------------
;  Copy lists
;-----------------------------------------------------------------------------
[CopyFiles]

[CopyFiles.Win2K]
tarnser.sys
tarncm.sys,tarncmnt.sys
tarncmnt.sys


;-----------------------------------------------------------------------------
;  NT Services installation
;-----------------------------------------------------------------------------

[TARN.Install.NT.Services]
AddService = tarnser, 0x00000002, TARN.Install.AddService


[TARN.Install.AddService]
DisplayName{{TAB}}= %TARN.Service.Name%
Description{{TAB}}= %TARN.Service.Desc%
ServiceType{{TAB}}= 1{{TAB}}{{TAB}}{{TAB}};%SERVICE_KERNEL_DRIVER%
StartType{{TAB}}= 3{{TAB}}{{TAB}}{{TAB}};%SERVICE_DEMAND_START%
ErrorControl{{TAB}}= 1{{TAB}}{{TAB}}{{TAB}};%SERVICE_ERROR_NORMAL%{{TAB}}
ServiceBinary{{TAB}}= %12%\tarnser.sys



;-----------------------------------------------------------------------------
; STRINGS
;-----------------------------------------------------------------------------
[Strings]

;<<localize the following>>

;BEGIN ENG - US English Strings

Provider = "{{LongName}}"
TARN = "{{LongName}}"
DiskString = "{{ComDeviceName}} Drivers"

TARN.Comm.Desc = "{{ComDeviceName}}"
TARN.Service.Name = "{{ComDeviceName}} Drivers"
TARN.Service.Desc = "{{ComDeviceName}} Drivers"


CustomerDataPath = "{{ComDeviceName}}"
DriverSet = "{{ComDeviceName}} Driver Set"


;END ENG - US English Strings

;-----------------------------------------------------------------------------
; The following are symbolic constants which don't change per locale.
;-----------------------------------------------------------------------------


;*** end of file ***
)inf";
// clang-format on

}  // namespace

std::string RenderW2kSerialInf(const WizardSettings& settings) {
    return RenderTemplate(kTemplate, settings, kDriverNotice);
}

}  // namespace usbwiz
