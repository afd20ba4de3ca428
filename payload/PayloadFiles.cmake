# The files the package carries: their id, the file of the payload folder that is embedded under
# it, the name it is written as in the package ({{Field}} stands for a text of the record), the
# package it belongs to and its role there. Each package writes its files in this order, the
# preinstaller only when one is wanted; setup.ini lists its drivers in this order too. 209 and
# 216 are the same Windows 2000/XP uninstaller, so both ids name one file.
set(USBWIZ_PAYLOAD_TABLE
  145 tarnbus.sys                tarnbus.sys                 ComPort   Driver
  148 tarncm95.sys               tarncm95.sys                ComPort   Driver
  149 tarncmnt.sys               tarncmnt.sys                ComPort   Driver
  150 tarncr.sys                 tarncr.sys                  ComPort   Driver
  151 tarnser.sys                tarnser.sys                 ComPort   Driver
  152 tarnwh95.sys               tarnwh95.sys                ComPort   Driver
  147 tarnwhnt.sys               tarnwhnt.sys                ComPort   Driver
  153 tarncomm.vxd               tarncomm.vxd                ComPort   Driver
  154 tarnvcd.vxd                tarnvcd.vxd                 ComPort   Driver
  155 tarnvcr.vxd                tarnvcr.vxd                 ComPort   Driver
  208 com-uninstall98.exe        {{UninstallName}}.exe       ComPort   Uninstaller
  209 uninstall2k.exe            {{UninstallName}}2k.exe     ComPort   Uninstaller
  202 com-PreInstaller.exe       PreInstaller.exe            ComPort   Preinstaller
  220 ferrolink.sys              {{SysName}}.sys             Ferrolink Driver
  219 tnlib.sys                  tnlib.sys                   Ferrolink Driver
  217 ferrolink-uninstall98.exe  {{UninstallName}}.exe       Ferrolink Uninstaller
  216 uninstall2k.exe            {{UninstallName}}2k.exe     Ferrolink Uninstaller
  218 ferrolink-PreInstaller.exe PreInstaller.exe            Ferrolink Preinstaller
)
set(USBWIZ_PAYLOAD_COLUMNS 5)
