#!/usr/bin/env bash
# Starts Salvora on the bundled demo store: the window when a display is there, else the
# command-line front end (scan every folder file, print the rows, save the deleted messages
# into recovered-mail/).
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="$PWD/samples/demo-prefix"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/app/window/SalvoraExpress ]; then
  exec build/app/window/SalvoraExpress
fi
echo "No display: running the command-line front end on the demo store instead." >&2
exec build/cli/salvora save --all-folders -o recovered-mail
