#!/bin/sh
# Runs a Windows program under Wine in a private prefix, never the user's ~/.wine.
# Usage: wine-run.sh WINE DEFAULT_PREFIX PROGRAM [ARGUMENT...]
# The prefix is $SALVORA_WINEPREFIX, else DEFAULT_PREFIX; it is made on first use, once, even
# when several tests start together. No display is needed: the programs are console programs.
set -eu
wine=$1
prefix=${SALVORA_WINEPREFIX:-$2}
shift 2
# Wine takes only an absolute prefix.
case $prefix in
/*) ;;
*) prefix=$PWD/$prefix ;;
esac
# No Mono or Gecko: nothing here needs them, and asking for them stalls a headless start.
export WINEPREFIX="$prefix" WINEDEBUG=-all DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml="
# The mark is left once the prefix is complete; a prefix made part way is made again.
ready="$prefix/.salvora-prefix-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$wine" wineboot -i >/dev/null 2>&1
      # Wine's display-less driver: windows exist (the window lookup is tested with one)
      # without an X server.
      "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
      wineserver -w
      touch "$ready"
    fi
  ) 9>"$prefix.lock"
fi
# One server for all the tests that run together: a server started by a test ends a few
# seconds after its last program, and a test starting just then loses its connection
# ("recvmsg: Connection reset by peer"). Whoever starts it also starts Wine's background
# services, with no output of ours open: they live as long as the server, and a test's output
# they held open would keep the test from ending.
(
  flock 9
  # Nor the lock: it would stay held as long as they live.
  if wineserver -p600 </dev/null >/dev/null 2>&1 9>&-; then
    "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 9>&- || true
  fi
) 9>"$prefix.lock"
exec "$wine" "$@"
