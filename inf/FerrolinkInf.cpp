#include "inf/InfWriters.h"
#include "inf/NoticeBlock.h"
#include "inf/TemplateText.h"

namespace usbwiz {

namespace {

// The Ferrolink INF: the direct-access driver as a kernel service on Windows 2000 and through
// the WDM loader on Windows 98.
// clang-format off
constexpr std::string_view kTemplate = R"inf(
; Vexmor Ferrolink V2.0 Driver
{{NoticeBlock}}


[Version]
Signature=$CHICAGO$
Class=USB
ClassGUID={36fc9e60-c465-11cf-8056-444553540000}
Provider=%MFGNAME%
DriverVer=10/20/2004,10.20.2004
;CatalogFile=TnFrlnk.cat

[Manufacturer]
%MFGNAME%=DeviceList

[DestinationDirs]
DefaultDestDir=10;System32\Drivers
DriverCopyFiles=10,System32\Drivers
DriverCopyFiles2=11 {{TAB}}{{TAB}};System32

[SourceDisksFiles]
{{SysName}}.sys=1
TnLib.sys=1
{{UninstallName}}2k.exe=1
{{UninstallName}}.exe=1
{{UninstallName}}.u2k=1
{{UninstallName}}.u98=1

[SourceDisksNames]
1=%INSTDISK%,,,

[DeviceList]
%DESCRIPTION%=DriverInstall,USB\VID_{{Vid}}&PID_{{Pid}}

[ControlFlags]
ExcludeFromSelect=*

;------------------------------------------------------------------------------
;  Windows 2000 Sections
;------------------------------------------------------------------------------


[DriverInstall.NT]
CopyFiles=DriverCopyFiles, DriverCopyFiles2

[DriverCopyFiles]
{{SysName}}.sys,,,2
TnLib.sys,,,2

[DriverCopyFiles2]
{{UninstallName}}2k.exe,,,2
{{UninstallName}}.u2k,,,2

[DriverInstall.NT.Services]
AddService={{InfStem:upper}},2,DriverService

[DriverService]
ServiceType=1
StartType=3
ErrorControl=1
ServiceBinary=%10%\system32\drivers\{{SysName}}.sys

[DriverInstall.nt.hw]
AddReg=DriverHwAddReg, {{ShortName}}WdmUnInst.NT.Reg

[DriverHwAddReg]
HKR,,FriendlyName,,%FRIENDLYNAME%

[{{ShortName}}WdmUnInst.NT.Reg]
HKLM,%WINUN%,"{{InfStem:upper}}&{{Vid}}&{{Pid}}"
HKLM,%WINUN%\{{InfStem:upper}}&{{Vid}}&{{Pid}} , "UninstallString",,"%11%\{{UninstallName}}2k.exe %11%\{{UninstallName}}.u2k"
HKLM,%WINUN%\{{InfStem:upper}}&{{Vid}}&{{Pid}} , "DisplayName",,"{{UsbDeviceName}} Driver Set"


;------------------------------------------------------------------------------
;  Windows 98 Sections
;------------------------------------------------------------------------------

[DriverInstall]
AddReg=DriverAddReg
CopyFiles=DriverCopyFiles98

[DriverCopyFiles98]
{{SysName}}.sys,,,2
TnLib.sys,,,2
{{UninstallName}}.exe,,,2
{{UninstallName}}.u98,,,2

[DriverAddReg]
HKR,,DevLoader,,*ntkern
HKR,,NTMPDriver,,{{SysName}}.sys
{{TAB}}{{TAB}}{{TAB}}{{TAB}}{{TAB}}{{TAB}}
[DriverInstall.HW]
AddReg=DriverHwAddReg, {{ShortName}}WdmUnInst.Reg
RemoveDevice {{TAB}}= {{ShortName}}Wdm.RemDev


[{{ShortName}}Wdm.RemDev]
DELKEY=HKLM,%WINUN%\{{InfStem:upper}}&{{Vid}}&{{Pid}}

[{{ShortName}}WdmUnInst.Reg]
HKLM,%WINUN%,"{{InfStem:upper}}&{{Vid}}&{{Pid}}"
HKLM,%WINUN%\{{InfStem:upper}}&{{Vid}}&{{Pid}} , "UninstallString",,"%11%\{{UninstallName}}.exe %11%\{{UninstallName}}.u98"
HKLM,%WINUN%\{{InfStem:upper}}&{{Vid}}&{{Pid}} , "DisplayName",,"{{UsbDeviceName}} Driver Set"

[{{ShortName}}Wdm.DelFiles]
{{UninstallName}}.exe = 1
{{UninstallName}}.u98 = 1


;------------------------------------------------------------------------------
;  String Definitions
;------------------------------------------------------------------------------

[Strings]
MFGNAME="{{LongName}}"
INSTDISK="{{LongName}} {{UsbDeviceName}} Installation Disc"
DESCRIPTION="{{UsbDeviceName}}"
FRIENDLYNAME="{{UsbDeviceName}}"
WINUN="Software\Microsoft\Windows\CurrentVersion\Uninstall"



)inf";
// clang-format on

}  // namespace

std::string RenderFerrolinkInf(const WizardSettings& settings) {
    return RenderTemplate(kTemplate, settings, kDriverNoticeLine);
}

}  // namespace usbwiz
