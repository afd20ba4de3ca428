/* The stand-in for payload 208 as a real (tiny) PE image, so that catalogs list one carried file
 * by its Authenticode image hash. Built, and committed as payload/stand-ins/com-uninstall98.exe,
 * with:
 *   x86_64-w64-mingw32-gcc -Os -s -nostdlib -e start -Wl,--no-insert-timestamp \
 *       -o ../stand-ins/com-uninstall98.exe com-uninstall98.c
 */
const char kStandIn[] =
    "STAND-IN, NOT A REAL DRIVER FILE. This file stands in for {UninstallName}.exe of the "
    "virtual COM port package (the Windows 98/ME uninstaller), payload 208. Replace it with the "
    "real file before release: configure the build with -DUSBWIZ_PAYLOAD_DIR=<folder> holding "
    "the real files under the names listed in the README.";

int start(void) {
    return kStandIn[0] == 'S' ? 0 : 1;
}
