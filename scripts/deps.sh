#!/usr/bin/env bash
# Installs the Debian packages that are missing, and only those.
# Usage: scripts/deps.sh build|test|bench|shots
set -euo pipefail

build=(g++ cmake make pkgconf qt6-base-dev qt6-multimedia-dev qt6-translations-l10n libgl-dev libical-dev
       fonts-arphic-uming fonts-dejavu-core)
test=("${build[@]}" libgtest-dev xvfb xauth xdotool x11-utils
      trayer openbox                    # a notification area and a window manager, as on a desktop
      dbus-x11 at-spi2-core             # a session bus with accessibility, as on a desktop
      desktop-file-utils appstream      # check the desktop entry and the metadata
      libsm-dev                         # a session manager that logs the test session off
      clang libclang-rt-14-dev          # the fuzz targets (libFuzzer)
      pulseaudio pulseaudio-utils       # a private sound server that proves the alarm is heard
      strace)                           # kills the program at a chosen system call of its exit
bench=("${test[@]}" libbenchmark-dev hyperfine libx11-dev)
# The screenshots of the README: a window manager for real frames and a grabber.
shots=("${test[@]}" openbox imagemagick)

case "${1:-}" in
  build) wanted=("${build[@]}") ;;
  test) wanted=("${test[@]}") ;;
  bench) wanted=("${bench[@]}") ;;
  shots) wanted=("${shots[@]}") ;;
  *) echo "usage: $0 build|test|bench|shots" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
