#!/usr/bin/env bash
# The main job: builds Velcrum, starts a small simulated plant (nxi with the sample plant
# file: router 12, a GPI device, an infodriver slot device; the infodriver program as
# device 50; umd-monitor as a chain of under-monitor displays) and the sample panel on a
# desktop of their own, and shuts them all down. With a display the panel shows and stays
# until you choose Exit from its right-click menu; without one it runs headless: the desktop tool
# looks at the panel and presses its controls as an operator would, then closes it, and
# screenshots and a transcript are left in build/sample/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" "$root/build"

sample="$root/build/sample"
rm -rf "$sample"
mkdir -p "$sample/desktop" "$sample/root/drive_c/windows" "$sample/root/drive_c/vornlogs"
chmod 700 "$sample/desktop"
export VELCRUM_DESKTOP="$sample/desktop" VELCRUM_ROOT="$sample/root" CC_WORKSTATION=1
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$sample/desktop}"
unset CC_ROOT CC_SYSTEM VELCRUM_DRIVE_C

# The support libraries go where the panel's system directory (c:\windows) maps to.
cmake --install "$root/build" --prefix "$sample/install" >/dev/null
# A chain of under-monitor displays: umd-monitor stands in for it on a pseudo-terminal,
# whose path is its first line, and prints every message it decodes.
"$root/build/apps/umd_monitor/umd-monitor" --protocol tsl --changes --for 120 \
  >"$sample/umd.log" 2>"$sample/umd.err" &
umd=$!
for _ in $(seq 100); do
  [[ -s "$sample/umd.log" ]] && break
  sleep 0.1
done
umd_port="$(head -n 1 "$sample/umd.log")"
# The panel's settings: its debug output on standard error, a log file, trace points,
# printing on, chain 1 of TSL displays on COM1, which is umd-monitor's pseudo-terminal.
printf '%s\r\n' '[Debug]' 'EnableOutputDBWIN=1' 'OutputDebug=1' 'LogToFile=1' \
  '[System]' 'TimeStampStartup=1' 'PrinterSupport=1' 'SynchronousMode=1' \
  'iUmdChain1=1' 'iUmdChain2=-1' 'iUmdChain3=-1' 'iUmdChain4=-1' 'UMDProtocol=TSL' \
  'UMDBaudRate=38400' 'UmdSize=16' 'UmdVirtualisation=0' \
  '[Ports]' "COM1=$umd_port" >"$sample/root/drive_c/windows/VELCRUM.INI"
# The chime the peripherals panel plays (c:\sounds\chime.wav) and its click sound.
mkdir -p "$sample/root/drive_c/sounds"
cp "$root/examples/sounds/chime.wav" "$sample/root/drive_c/sounds/"
# The destinations the panel's list loads (c:\destinations.txt).
cp "$root/examples/panel/destinations.txt" "$sample/root/drive_c/"
# A panel is the runtime under the panel's name, with its script beside it.
ln -s "$root/build/apps/velcrum/velcrum" "$sample/SAMPLE.EXE"
cp "$root/examples/panel/SAMPLE.AST" "$root/examples/panel/SAMPLE.rc" "$root/examples/panel/sample.h" \
  "$sample/"

"$root/build/apps/nxi/nxi" --plant "$root/examples/plant/sample.plant" --log "$sample/nxi.log" \
  </dev/null 2>"$sample/nxi.err" &
nxi=$!
"$root/build/apps/infodriver/infodriver" --device 50 --slots 16 --log "$sample/infodriver.log" \
  </dev/null 2>"$sample/infodriver.err" &
driver=$!
trap 'kill "$nxi" "$driver" "$umd" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  windows="$("$root/build/apps/desktop/desktop" list 2>/dev/null || true)"
  grep -q 'NXI' <<<"$windows" && grep -q 'INFODRIVER 50' <<<"$windows" && break
  sleep 0.1
done

status=0
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "The sample panel is on the display: right-click it and choose Exit to end."
  # In its own directory, where the editor's Save and the debug window's save write.
  (cd "$sample" && exec ./SAMPLE.EXE) 2> >(tee "$sample/velcrum.err" >&2) || status=$?
else
  # No sound card either: ALSA plays into build/sample/played.raw (docs/AUDIO.md).
  (cd "$sample" && ALSA_CONFIG_PATH="$root/scripts/headless-alsa.conf" \
    VELCRUM_ALSA_OUT="$sample/played.raw" QT_QPA_PLATFORM=offscreen VELCRUM_MESSAGEBOX=ok \
    VELCRUM_PRINT_TO="$sample/destinations.pdf" VELCRUM_FILEDIALOG="SAMPLE__.001.debug.txt" \
    exec timeout 60 ./SAMPLE.EXE headless) \
    2>"$sample/velcrum.err" &
  panel=$!
  bash "$root/scripts/drive-sample.sh" "$root/build/apps/desktop/desktop" "$sample" \
    "$root/build/apps/nxi/nxi" \
    >"$sample/hand.txt" 2>&1 || status=$?
  wait "$panel" || status=$?
fi
kill "$nxi" "$driver" "$umd"
wait "$nxi" "$driver" "$umd" || true

{
  if [[ -f "$sample/hand.txt" ]]; then
    echo "== what the desktop tool saw and did"
    cat "$sample/hand.txt"
  fi
  echo "== the panel's debug output"
  cat "$sample/velcrum.err"
  echo "== what nxi received (and, after \"> \", sent)"
  cat "$sample/nxi.log"
  echo "== what the infodriver received (and, after \"> \", sent)"
  cat "$sample/infodriver.log"
  echo "== what the under-monitor displays received (umd-monitor on $umd_port)"
  tail -n +2 "$sample/umd.log"
  echo "== the log file"
  cat "$sample/root/drive_c/vornlogs/"*.log 2>/dev/null | tr -d '\r'
} >"$sample/transcript.txt"
cat "$sample/transcript.txt"
echo "Transcript: $sample/transcript.txt"
for shot in "$sample"/*.png; do
  [[ -f "$shot" ]] && echo "Screenshot: $shot"
done
if ((status != 0)); then
  echo "The panel ended with status $status." >&2
fi
exit "$status"
