#!/usr/bin/env bash
# Installs what the build and the tests need. Does nothing when all of it is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang-format
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb imagemagick xdotool
  libssl-dev openssl osslsigncode python3-asn1crypto
  python3 dpkg-dev lintian man-db unzip xxd jq
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing packages: ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
