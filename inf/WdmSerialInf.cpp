#include "inf/InfWriters.h"
#include "inf/NoticeBlock.h"
#include "inf/TemplateText.h"

namespace usbwiz {

namespace {

// The Windows 9x WDM serial INF: installs interface 0 through the WDM loader on Windows 9x.
// clang-format off
constexpr std::string_view kTemplate = R"inf(
;*****************************************************************************
;
; Name:  {{InfPrefix}}wdm.inf
;
; Function:
;{{TAB}}Install the {{ComDeviceName}} (WDM) on Win9x
;
{{NoticeBlock}}
;
;*****************************************************************************

[Version]
signature="$CHICAGO$"
Class=USB
ClassGuid={36FC9E60-c465-11cf-8056-444553540000}
Provider=%Provider%
DriverVer=12/16/2004, 4.28.0.2700
{{CatalogComment}}CatalogFile={{InfPrefix}}ser.cat


[ControlFlags]
ExcludeFromSelect = *

;-----------------------------------------------------------------------------
;   Change A:\ to source drive (or omit to always (?) be prompted)
;-----------------------------------------------------------------------------
[SourceDisksNames]
; diskid = description[, [tagfile] [, <unused>, subdir]]
;{{TAB}}having the tagfile non-null seems to help...
1=%DiskString%,"tarnser.sys",,

[SourceDisksFiles]
; filename = diskid[,[ subdir][, size]]
tarnser.sys = 1
tarncr.sys = 1
tarnvcr.vxd = 1
tarncm95.sys = 1
tarncmnt.sys = 1
tarncomm.vxd = 1
tarnvcd.vxd = 1
tarnvxd.inf = 1

;-----------------------------------------------------------------------------
; Specify target paths...
;-----------------------------------------------------------------------------
[DestinationDirs]
DefaultDestDir          = 11                    ; LDID_SYS
CopyFiles               = 11                    ; system
CopyFiles.W95{{TAB}}{{TAB}}= 11{{TAB}}{{TAB}}{{TAB}}; system (for VXDs)
CopyFiles.sys           = 11                    ; where .sys files go.
CopyFiles.W95.sys       = 11                    ; where .sys files go.
CopyFiles.W95.inf       = 11,other              ; INF Directory\other.

;-----------------------------------------------------------------------------
; Table of Contents
;-----------------------------------------------------------------------------
[Manufacturer]
%TARN%=TARN

;-----------------------------------------------------------------------------
; Device-by-device entries
;-----------------------------------------------------------------------------
[TARN]
%TARN.Comm.Desc% = TARN.Install, USB\VID_{{Vid}}&PID_{{Pid}}&MI_00&OS_9X

;-----------------------------------------------------------------------------
; Installation instructions
;-----------------------------------------------------------------------------

[TARN.Install]
AddReg{{TAB}}{{TAB}}= TARN.AddReg,TARN.W95.AddReg,TARN.W95.AddReg.CRGuid
CopyFiles{{TAB}}= CopyFiles, CopyFiles.W95, CopyFiles.sys, CopyFiles.W95.sys, CopyFiles.W95.Inf
DriverVer=12/16/2004, 4.28.0.2700

;-----------------------------------------------------------------------------
;  Registry
;-----------------------------------------------------------------------------

; common registry entries {{END}}
[TARN.AddReg]
HKR,,NTMPDriver,,tarnser.sys
HKR,,CRUpperDescription,,%UpperDescription%
HKR,,RateLimitPurgeMS, 0x10001, 0x64, 0x00, 0x00, 0x00
HKR,,OverrideDefaultPortSettings, 0x10001, 01,00,00,00
HKR,,InitialBaudRate, 0x10001, 00,C2,01,00                      ;115200 initial baud rate
HKR,,InitialLineControl,, "8N1"                                 ;8-bits, No parity, 1 stop bit

; only for Win95....
[TARN.W95.AddReg]
HKR,,DevLoader,,*ntkern

[TARN.W95.Addreg.CRGuid]
HKR,,CRGuid,,{7A1C3E92-5B40-4D8E-9F21-3C6B8D0E4A75}

;-----------------------------------------------------------------------------
;  Copy lists
;-----------------------------------------------------------------------------
[CopyFiles]

[CopyFiles.W95]
tarnvcr.vxd
tarncomm.vxd
tarnvcd.vxd

[CopyFiles.sys]
tarnser.sys
tarncr.sys

[CopyFiles.W95.sys]
tarncm.sys,tarncm95.sys
tarncm95.sys
tarncmnt.sys

[Copyfiles.W95.inf]
tarnvxd.inf


;-----------------------------------------------------------------------------
; STRINGS
;-----------------------------------------------------------------------------
[Strings]

;BEGIN ENG - US English Strings
Provider = "{{LongName}}"
TARN = "{{LongName}}"
DiskString = "{{ComDeviceName}} Drivers"

TARN.Comm.Desc = "{{ComDeviceName}}"
UpperDescription = "{{ComDeviceName}}"

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

std::string RenderWdmSerialInf(const WizardSettings& settings) {
    return RenderTemplate(kTemplate, settings, kDriverNotice);
}

}  // namespace usbwiz
