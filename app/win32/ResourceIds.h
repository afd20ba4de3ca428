#pragma once

// Resource ids shared by the resource scripts and the code; plain macros because the resource
// compiler reads this file too.
#define USBWIZ_APP_ICON 128
#define USBWIZ_BANNER_BITMAP 132
