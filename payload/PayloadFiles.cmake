# Which file of the payload folder is embedded under which id. 209 and 216 are the same
# Windows 2000/XP uninstaller, so both ids name one file.
set(USBWIZ_PAYLOAD_TABLE
  145 tarnbus.sys
  147 tarnwhnt.sys
  148 tarncm95.sys
  149 tarncmnt.sys
  150 tarncr.sys
  151 tarnser.sys
  152 tarnwh95.sys
  153 tarncomm.vxd
  154 tarnvcd.vxd
  155 tarnvcr.vxd
  202 com-PreInstaller.exe
  208 com-uninstall98.exe
  209 uninstall2k.exe
  216 uninstall2k.exe
  217 ferrolink-uninstall98.exe
  218 ferrolink-PreInstaller.exe
  219 tnlib.sys
  220 ferrolink.sys
)
