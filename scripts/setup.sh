#!/usr/bin/env bash
# Brings a fresh Debian 12 machine (as root, with the package archive reachable) to a
# state where Velcrum builds, its tests run and its benchmarks run. Idempotent: only
# packages that are missing are installed, and apt's lists are refreshed only then.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config clang-format
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev tcl
  # GUI, event loop, timers, printing; the offscreen platform plugin for headless runs
  qt6-base-dev qt6-qpa-plugins libqt6printsupport6 fonts-dejavu-core
  # reading printed PDF files back in the printing tests
  poppler-utils
  # the dialogs' font: Tahoma, metric-compatible, for "MS Sans Serif" and "MS Shell Dlg"
  fonts-wine
  # audio
  libsndfile1-dev portaudio19-dev
  # the video overlay: camera capture (V4L2 through Qt Multimedia)
  qt6-multimedia-dev
  # the keyboard hook library: the kernel's input devices and the keyboard layout
  libevdev-dev libxkbcommon-dev xkb-data
  # rendering the HTML pages panels write, in the tests of the H commands
  chromium
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
