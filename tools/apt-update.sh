#!/usr/bin/env bash
# apt-get update that survives a mirror caught mid-sync: it tries three times, then goes on
# with the package lists it has; the install that follows says whether they were enough.
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
for attempt in 1 2 3; do
  $SUDO apt-get update -q && exit 0
  echo "apt-get update failed (attempt $attempt of 3)" >&2
  sleep $((attempt * 5))
done
echo "apt-get update kept failing; going on with the package lists there are" >&2
exit 0
