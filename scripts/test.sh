#!/usr/bin/env bash
# Builds everything and runs every test: the native core tests, the same tests under
# AddressSanitizer and UBSan, the Windows programs under Wine, the fuzz targets for a
# bounded time, and two release builds of the Windows programs that must hold the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
for preset in native sanitize windows fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

ctest --preset native -j "$jobs"
ctest --preset sanitize -j "$jobs" --label-exclude wine
ctest --preset fuzz -j "$jobs"
bash scripts/check-reproducible.sh
