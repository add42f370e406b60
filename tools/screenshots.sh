#!/usr/bin/env bash
# Pictures of the window for review: each wizard page with the demo store scanned, and the
# about window, as PNG files in build/screenshots (or the folder given). Runs under Xvfb so
# the window's outline is cut as on a desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
cmake --build --preset default --target window_screenshots >/dev/null
# A quiet temporary folder, so the destination tree shows little beside the program's own.
scratch="$(mktemp -d /var/tmp/salvora-screenshots.XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
TMPDIR="$scratch" xvfb-run -a -s "-screen 0 1024x768x24" \
  build/tests/app/window/window_screenshots "$out"
