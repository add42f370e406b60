#!/usr/bin/env bash
# Builds the engine and the command line for 64-bit and 32-bit Windows with Debian's
# MinGW-w64 cross compilers and runs their tests under Wine, in a Wine prefix made for this
# run in a temporary folder (never ~/.wine). Run as root, or with sudo, on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }

packages=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 zip)
missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  "$(dirname "$0")/apt-update.sh"
  $SUDO apt-get install -y -q "${missing[@]}"
fi
# 32-bit Windows programs need the 32-bit Wine, which needs the i386 architecture.
if ! installed wine32:i386; then
  { $SUDO dpkg --add-architecture i386 && "$(dirname "$0")/apt-update.sh" &&
    $SUDO apt-get install -y -q wine32:i386; } ||
    echo "windows-build: wine32 cannot be installed here; the 32-bit tests will not run" >&2
fi

prefixes=$(mktemp -d)
stop_wine() {
  for prefix in "$prefixes"/*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  done
  rm -rf "$prefixes"
}
trap stop_wine EXIT

export SALVORA_WINEPREFIX="$prefixes/win64"
cmake --workflow --preset windows64

# Installed is not enough: a kernel without 32-bit support installs wine32 but runs none of it.
if installed wine32:i386 && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export SALVORA_WINEPREFIX="$prefixes/win32"
  cmake --workflow --preset windows32
else
  echo "windows-build: 32-bit programs do not run here; the 32-bit build is built, not tested" >&2
  cmake --preset windows32 -DSALVORA_RUN_UNDER_WINE=OFF
  cmake --build --preset windows32
fi
