#!/usr/bin/env bash
# Builds the Windows program and starts the wizard: on Linux under Wine in the project's private
# prefix (scripts/wine.sh), on Windows (MSYS2, Git Bash, Cygwin) directly.
# USBWIZ_WINDOWS_PRESET=windows-payloads runs the build with the real payload files (README: "The
# real driver and program files"); USBWIZ_WINDOWS_BUILD_DIR picks another build folder than the
# preset's own (build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${USBWIZ_WINDOWS_PRESET:-windows}
build_dir=${USBWIZ_WINDOWS_BUILD_DIR:-build/$preset}
exe="$build_dir/app/win32/UsbDriverWizard.exe"

# The windows preset names its payload folder, the stand-ins, so this also undoes a payload
# folder given to build/windows by hand.
build() {
  cmake --preset "$preset" -B "$build_dir" >/dev/null
  cmake --build "$build_dir" --target UsbDriverWizard
}

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    [ -f "$exe" ] || build
    exec "$exe"
    ;;
esac

if [ -z "${DISPLAY:-}" ]; then
  echo "run: no display (DISPLAY is empty), so the wizard cannot be shown; to generate a package without it, build the native preset and run build/native/cli/usbdrvgen --kind com --out DIR" >&2
  exit 1
fi

bash scripts/setup.sh
build
exec bash scripts/wine.sh "$exe"
