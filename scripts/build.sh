#!/usr/bin/env bash
# Configures and builds Velcrum into build/ (or the directory given as $1), after making
# sure the machine has what the build needs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${VELCRUM_BUILD_TYPE:-RelWithDebInfo}" \
  "${@:2}" >/dev/null
cmake --build "$build"
