#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (run as root, or with sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
export DEBIAN_FRONTEND=noninteractive
"$(dirname "$0")/apt-update.sh"
$SUDO apt-get install -y -q --no-install-recommends \
  cmake ninja-build g++ make pkg-config \
  libgtest-dev libgmock-dev libbenchmark-dev \
  media-types \
  qt6-base-dev xvfb xauth fonts-liberation fonts-dejavu-core fonts-wine \
  libxcb1-dev \
  clang libclang-rt-14-dev lcov \
  fp-utils xdg-utils dosfstools mtools \
  dpkg-dev appstream desktop-file-utils
