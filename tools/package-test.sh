#!/usr/bin/env bash
# Builds the Debian package as a packager would (a Release build of what is installed), checks
# its metadata, installs it on this machine with apt (which brings what it depends on), runs
# both programs from the installed paths, then removes it and checks that nothing is left.
# Run as root, or with sudo, on Debian 12, after tools/install-deps.sh. Removes an installed
# salvora package first. Given a package file, tests that one instead of building.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
fail() { echo "package-test: $*" >&2; exit 1; }

if [ $# -gt 0 ]; then
  deb=$(realpath "$1")
else
  rm -f build-package/salvora_*.deb
  cmake --workflow --preset package
  debs=(build-package/salvora_*.deb)
  [ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "expected one package, found: ${debs[*]}"
  deb=$(realpath "${debs[0]}")
fi
unpacked=$(mktemp -d)
version=$(dpkg-deb -f "$deb" Version)
depends=$(dpkg-deb -f "$deb" Depends)
echo "package-test: $deb, version $version"
echo "package-test: Depends: $depends"
for needed in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libxcb1 media-types; do
  [[ ",$depends" == *", $needed"* || ",$depends" == *",$needed"* ]] || fail "Depends lacks $needed"
done

# The metainfo names this release, and software centres accept it.
dpkg-deb -x "$deb" "$unpacked"
metainfo=$unpacked/usr/share/metainfo/example.salvora.SalvoraExpress.metainfo.xml
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
appstreamcli validate --no-net "$metainfo"
desktop-file-validate "$unpacked/usr/share/applications/salvora-express.desktop"
rm -rf "$unpacked"

if dpkg-query -W salvora >/dev/null 2>&1; then
  $SUDO apt-get remove -y -q -o DPkg::Lock::Timeout=600 --purge salvora
fi
$SUDO apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "$deb"
installed=$(dpkg-query -L salvora)
trap '$SUDO dpkg --purge salvora >/dev/null 2>&1 || true' EXIT
for file in /usr/bin/salvora /usr/bin/SalvoraExpress /usr/lib/salvora/SalvoraExpress \
  /usr/lib/salvora/SalvoraExpress.chm /usr/share/applications/salvora-express.desktop \
  /usr/share/icons/hicolor/128x128/apps/salvora-express.png \
  /usr/share/metainfo/example.salvora.SalvoraExpress.metainfo.xml; do
  [ -e "$file" ] || fail "$file is not installed"
done

# The programs as a user starts them: on PATH, in a home of their own. Run as root, they run
# as nobody: a user cannot write beside an installed program, root would leave files there.
home=$(mktemp -d)
trap '$SUDO dpkg --purge salvora >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown nobody: "$home"
  as_user=(runuser -u nobody --)
fi
[ "$(cd "$home" && "${as_user[@]}" salvora --version)" = "salvora ${version%.*.*}" ] ||
  fail "salvora --version says $(salvora --version)"
# The window starts and waits for the user: it is still running when the time is up
# (timeout's 124), having said nothing on standard error but that the offscreen platform
# cannot shape windows.
"${as_user[@]}" mkdir -m 700 "$home/runtime"
status=0
(cd "$home" && "${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen timeout 8 SalvoraExpress \
  >"$home/out" 2>"$home/err") || status=$?
[ "$status" = 124 ] || fail "SalvoraExpress ended with status $status: $(cat "$home/err")"
said=$(grep -v -x "This plugin does not support setting window masks" "$home/err" || true)
[ -z "$said" ] || fail "SalvoraExpress said: $said"
echo "package-test: salvora --version and the window's start-up ran from the installed paths"

$SUDO apt-get remove -y -q -o DPkg::Lock::Timeout=600 --purge salvora
while IFS= read -r path; do
  [ "$path" = "/." ] && continue
  # Folders other packages share stay; every file and folder of our own goes.
  if [ -e "$path" ] && { [ ! -d "$path" ] || [[ "$path" == */salvora* ]]; }; then
    fail "$path is left after removal"
  fi
done <<<"$installed"
echo "package-test: installed, ran and removed cleanly"
