#include "inf/InfStem.h"
#include "inf/InfWriters.h"
#include "inf/NoticeBlock.h"
#include "inf/TemplateText.h"

namespace usbwiz {

namespace {

// The composite-bus INF: installs the whole USB device with the bus driver and registers
// the package in the Windows uninstall list.
// clang-format off
constexpr std::string_view kTemplate = R"inf(
;*****************************************************************************
;
; {{InfPrefix}}bus.inf   -- Install the {{UsbDeviceName}} drivers
;
{{NoticeBlock}}
;
;*****************************************************************************

[version]
signature="$CHICAGO$"
Class=USB
ClassGuid={36FC9E60-c465-11cf-8056-444553540000}
Provider=%Provider%
DriverVer=12/16/2004, 4.28.0.2700
{{CatalogComment}}CatalogFile={{InfPrefix}}bus.cat

[ControlFlags]
ExcludeFromSelect = *

;-----------------------------------------------------------------------------
; Specify target paths...
;-----------------------------------------------------------------------------
[DestinationDirs]
DefaultDestDir                  = 11                    ; LDID_SYS
TARNWdm.W95.CopyFiles       = 11                    ; LDID_SYS
TARNWdm.NT.CopyFiles        = 12                    ; system32\drivers
TARNWdm.NT.CopyFiles2        = 11                    ; system32
PropPages.CopyFiles             = 11                    ; system

;-----------------------------------------------------------------------------
; Specify the install disks.  A bit unwieldy during development.
;-----------------------------------------------------------------------------
[SourceDisksNames]
; diskid = description[, [tagfile] [, <unused>, subdir]]
1=%DiskString%,"tarnbus.sys",,

[SourceDisksFiles]
; filename = diskid[, [subdir] [, size]]
tarnbus.sys = 1
tarnwh95.sys = 1
tarnwhnt.sys = 1
{{UninstallName}}2k.exe = 1
{{UninstallName}}.exe = 1
{{UninstallName}}.u2k = 1
{{UninstallName}}.u98 = 1

;-----------------------------------------------------------------------------
; Table of Contents:  manufacturer, then devices.
;-----------------------------------------------------------------------------
[Manufacturer]
%TARN%=TARN

;-----------------------------------------------------------------------------
; The devices
;-----------------------------------------------------------------------------
[TARN]
%TARN.CdcBus.Desc% = TARNWdm.Install, USB\VID_{{Vid}}&PID_{{Pid}}

;-----------------------------------------------------------------------------
; How to install them:  On W9x, the [section] name is used directly.
; On NT, the system first tries [section.NT], then [section].
;-----------------------------------------------------------------------------

;-----------------------------------------------------------------------------
; Diagnostics Files CopyFiles List Section
;-----------------------------------------------------------------------------
[TARN.CopyFiles]

;-----------------------------------------------------------------------------
; XXX when we have a property page DLL, add it to the following section.
;-----------------------------------------------------------------------------
[PropPages.CopyFiles]

;-----------------------------------------------------------------------------
;       How to install the WDM driver on W95/W98
;-----------------------------------------------------------------------------
[TARNWdm.Install]
DriverVer=12/16/2004, 4.28.0.2700
CopyFiles       = TARNWdm.W95.CopyFiles, TARN.CopyFiles, PropPages.CopyFiles
AddReg          = TARNWdm.AddReg, TARNWdm.W95.AddReg, TARNWdmUnInst.Reg
RemoveDevice {{TAB}}= TARNWdm.RemDev

;-----------------------------------------------------------------------------
;       How to install the WDM driver on NT
;-----------------------------------------------------------------------------
[TARNWdm.Install.NT]
DriverVer=12/16/2004, 4.28.0.2700
CopyFiles       = TARNWdm.NT.CopyFiles, TARNWdm.NT.CopyFiles2
AddReg          = TARNWdm.AddReg, TARNWdm.NT.AddReg, TARNWdmUnInst.NT.Reg


;-----------------------------------------------------------------------------
;       How to start the WDM driver on NT
;-----------------------------------------------------------------------------
[TARNWdm.Install.NT.Services]
AddService      = tarnbus, 2, TARNWdm.AddService

[TARNWdm.AddService]
DisplayName             = %TARN.Service.Desc%
ServiceType             = 1     ; SERVICE_KERNEL_DRIVER
StartType               = 3     ; SERVICE_DEMAND_START
ErrorControl            = 1     ; SERVICE_ERROR_NORMAL
ServiceBinary           = %12%\tarnbus.sys
LoadOrderGroup          = Base

;-----------------------------------------------------------------------------
;       WDM registry entries (all platforms)
;-----------------------------------------------------------------------------
[TARNWdm.AddReg]


;-----------------------------------------------------------------------------
;       WDM registry entries (W95/98) (including how to start the driver)
;-----------------------------------------------------------------------------
[TARNWdm.W95.AddReg]
HKR,,DevLoader,,*ntkern
HKR,,NTMPDriver,,tarnbus.sys

;-----------------------------------------------------------------------------
;       WDM registry entries (NT only)
;-----------------------------------------------------------------------------
[TARNWdm.NT.AddReg]

;-----------------------------------------------------------------------------
;       The WDM copy list for Win95 -- different because things go in
;       different places.  Also, we probably need to rename drivers {{END}}
;       during the install.
;-----------------------------------------------------------------------------
[TARNWdm.W95.CopyFiles]
tarnbus.sys
tarnwh.sys,tarnwh95.sys
tarnwh95.sys
tarnwhnt.sys
{{UninstallName}}.exe
{{UninstallName}}.u98

;-----------------------------------------------------------------------------
;       The WDM copy list for NT -- different because things go in
;       different places.
;-----------------------------------------------------------------------------
[TARNWdm.NT.CopyFiles]
tarnbus.sys
tarnwh.sys,tarnwhnt.sys
tarnwhnt.sys

[TARNWdm.NT.CopyFiles2]
{{UninstallName}}2k.exe
{{UninstallName}}.u2k

;-----------------------------------------------------------------------------
;       The WDM uninstall list and registry entries -- {{END}}
;       {{END}}
;-----------------------------------------------------------------------------

[TARNWdm.RemDev]
DELKEY=HKLM,%WINUN%\{{InfStem:upper}}COMM&{{Vid}}&{{Pid}}

[TARNWdmUnInst.Reg]
HKLM,%WINUN%,"{{InfStem:upper}}COMM&{{Vid}}&{{Pid}}"
HKLM,%WINUN%\{{InfStem:upper}}COMM&{{Vid}}&{{Pid}} , "UninstallString",,"%11%\{{UninstallName}}.exe %11%\{{UninstallName}}.u98"
HKLM,%WINUN%\{{InfStem:upper}}COMM&{{Vid}}&{{Pid}} , "DisplayName",,"{{ComDeviceName}}"

[TARNWdm.DelFiles]
{{UninstallName}}2k.exe = 1

;-----------------------------------------------------------------------------
;       The WDM uninstall list and registry entries for NT -- {{END}}
;       {{END}}
;-----------------------------------------------------------------------------

[TARNWdmUnInst.NT.Reg]
HKLM,%WINUN%,"{{InfStem:upper}}COMM&{{Vid}}&{{Pid}}"
HKLM,%WINUN%\{{InfStem:upper}}COMM&{{Vid}}&{{Pid}} , "UninstallString",,"%11%\{{UninstallName}}2k.exe %11%\{{UninstallName}}.u2k"
HKLM,%WINUN%\{{InfStem:upper}}COMM&{{Vid}}&{{Pid}} , "DisplayName",,"{{ComDeviceName}}"

;****************************************************************************
; Localizable Strings
;****************************************************************************
[strings]

;BEGIN ENG - US English Strings
Provider = "{{LongName}}"
TARN = "{{LongName}}"
DiskString = "{{UsbDeviceName}} Installation disk"
WINUN="Software\Microsoft\Windows\CurrentVersion\Uninstall"

TARN.CdcBus.Desc = "{{UsbDeviceName}}"
TARN.Service.Desc = "{{UsbDeviceName}} driver (WDM)"

CustomerDataPath = "{{ComDeviceName}}"
DriverSet = "{{ComDeviceName}} Software"


;END ENG - US English Strings

;-----------------------------------------------------------------------------
; Following are symbolic constants which don't change per locale.
;-----------------------------------------------------------------------------

;*** end of file ***
)inf";
// clang-format on

}  // namespace

std::string RenderBusInf(const WizardSettings& settings) {
    return RenderTemplate(kTemplate, settings, kDriverNotice);
}

}  // namespace usbwiz
