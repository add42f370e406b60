#!/usr/bin/env bash
# Builds salvora.exe for 64-bit Windows and packs it with the README into
# build-win64/salvora-<version>-windows-x64.zip. Needs what tools/windows-build.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset windows64
cmake --build --preset windows64 --target salvora
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win64/CMakeCache.txt)
stage=build-win64/release/salvora-$version
rm -rf build-win64/release
mkdir -p "$stage"
# No symbols in the released program: it is smaller, and they are of no use to users.
x86_64-w64-mingw32-strip -o "$stage/salvora.exe" build-win64/cli/salvora.exe
cp README.md "$stage/README.md"
zip_file=build-win64/salvora-$version-windows-x64.zip
rm -f "$zip_file"
(cd build-win64/release && zip -q -r -X "../$(basename "$zip_file")" "salvora-$version")
echo "$zip_file"
