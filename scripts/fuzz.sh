#!/usr/bin/env bash
# Fuzzes one target, or all of them, for a while: scripts/fuzz.sh [TARGET|all] [SECONDS].
# Builds the libFuzzer programs with clang into build-fuzz/, runs each target on a copy of
# its corpus with its dictionary, then keeps the new inputs that reach new code in
# fuzz/corpus/<target>/ (VELCRUM_FUZZ_KEEP=0: keep nothing, as CI does). A crash stops
# with the input saved in the current directory; docs/FUZZING.md says what to do next.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
targets="ast_reader bus_endpoint get_arguments net_frame profile rc_reader script_line"
which="${1:-all}"
seconds="${2:-300}"
[ "$which" = all ] || targets="$which"

CC=clang CXX=clang++ VELCRUM_BUILD_TYPE=RelWithDebInfo bash "$root/scripts/build.sh" \
  "$root/build-fuzz" -DVELCRUM_FUZZ=ON -DVELCRUM_BENCH=OFF -DVELCRUM_GUI=OFF

dictionary() {
  case "$1" in
    ast_reader | get_arguments | script_line) echo "-dict=$root/fuzz/script.dict" ;;
    rc_reader) echo "-dict=$root/fuzz/rc.dict" ;;
    profile) echo "-dict=$root/fuzz/profile.dict" ;;
  esac
}

for target in $targets; do
  program="$root/build-fuzz/fuzz/${target}_fuzzer"
  corpus="$root/fuzz/corpus/$target"
  [ -x "$program" ] || { echo "no fuzz target '$target' (one of: all $targets)" >&2; exit 2; }
  work="$(mktemp -d)"
  log="$(mktemp)"
  trap 'rm -rf "$work" "$log"' EXIT
  cp -r "$corpus/." "$work"
  echo "== $target, $seconds s"
  status=0
  # shellcheck disable=SC2046
  "$program" -max_total_time="$seconds" -max_len=2048 -timeout=10 -rss_limit_mb=4096 \
    $(dictionary "$target") "$work" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$target: the fuzzer failed (status $status)" >&2
    exit 1
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || true
  if [ "${VELCRUM_FUZZ_KEEP:-1}" != 0 ]; then
    # Only inputs that reach code the stored corpus does not; hit counts do not count.
    "$program" -merge=1 -use_counters=0 "$corpus" "$work" 2>&1 | grep -E 'MERGE-OUTER: [0-9]+ new' || true
  fi
  rm -rf "$work" "$log"
done
