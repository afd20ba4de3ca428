#pragma once

// Resource ids shared by the resource scripts and the code; plain macros because the resource
// compiler reads this file too.
#define USBWIZ_APP_ICON 128
// The page banner at 100 % (the one dialog templates name), 125 %, 150 % and 200 %.
#define USBWIZ_BANNER_BITMAP 132
#define USBWIZ_BANNER_BITMAP_125 133
#define USBWIZ_BANNER_BITMAP_150 134
#define USBWIZ_BANNER_BITMAP_200 135
