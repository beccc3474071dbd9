#!/usr/bin/env bash
# The main job: builds Velcrum and runs the sample panel script headless through
# velcrum-run, printing its debug output, its variables and the memories it wrote.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" "$root/build"
"$root/build/apps/velcrum-run/velcrum-run" --trace --vars --mem 1:2 --smem 1:1 \
  "$root/examples/hello/HELLO.AST"
