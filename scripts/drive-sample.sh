#!/usr/bin/env bash
# The operator's hand in the headless main job: finds the sample panel on the desktop,
# lists its controls, presses a source button, drags the fader, locks and unlocks the
# sources, filters the destinations by typing, chooses one, prints the list, opens the
# second panel and closes it with Enter, takes crosspoints on the router panel, fires a GPI,
# writes tally slots, changes the plant from nxi's side, puts captions on two under-monitor
# displays, types a key the panel captures, takes pictures of the panels (the video overlay's
# test pattern among them), opens the developer tools from the pop-up menu and closes the
# program. Every step is echoed with what the desktop tool printed.
# Usage: drive-sample.sh DESKTOP-TOOL SAMPLE-DIR [NXI]
set -euo pipefail
desktop="$1"
sample="$2"
nxi="${3:-}"

step() {
  echo "\$ desktop $*"
  "$desktop" "$@"
}

# The handle of the top-level window with this title, once it is there (10 s at most).
window() {
  for _ in $(seq 100); do
    local hwnd
    hwnd="$("$desktop" list | awk -v title="$1" '{ h = $1; $1 = ""; $2 = ""; sub(/^  */, ""); if ($0 == title) print h }')"
    if [[ -n "$hwnd" ]]; then
      echo "$hwnd"
      return 0
    fi
    sleep 0.1
  done
  echo "no window titled '$1' appeared" >&2
  return 1
}

sources="$(window "Velcrum sample - sources")"
main="$(window "SAMPLE__.001")"
step list
step controls "$sources"
step click "$sources" 1002
step drag "$sources" 1101 60
sleep 1.2  # the clock's timer ticks at least once
step controls "$sources"
step click "$sources" 1301
step controls "$sources"
step click "$sources" 1301
step items "$sources" 1401
step click "$sources" 3101
step key "$sources" "tx"
sleep 1  # timer 2 notices the new filter text
step items "$sources" 1401
step select "$sources" 1401 1
step select "$sources" 1402 0
step click "$sources" 1403
step controls "$sources"
step shot "$sources" "$sample/sources.png"
step click "$sources" 1201
more="$(window "Velcrum sample - more")"
step controls "$more"
step shot "$more" "$sample/more.png"
step key "$more" '{Return}'

router="$(window "Velcrum sample - router")"
step controls "$router"
step click "$router" 5002
step click "$router" 5205
step click "$router" 5401
step click "$router" 5403
step click "$router" 5404
if [[ -n "$nxi" ]]; then
  echo "\$ nxi do 'route 12 3 7'"
  "$nxi" do "route 12 3 7"
fi
sleep 0.5  # the revertives reach the panel
step controls "$router"
step shot "$router" "$sample/router.png"
peripherals="$(window "Velcrum sample - peripherals")"
step controls "$peripherals"
step click "$peripherals" 2601
for _ in $(seq 30); do  # the chime lasts 0.3 s; its done line lights the tally
  "$desktop" controls "$peripherals" | grep -q '"chime played"' && break
  sleep 0.1
done
step controls "$peripherals"
if [[ -s "$sample/played.raw" ]]; then
  echo "audio played: $(stat -c %s "$sample/played.raw") bytes of samples"
fi
step key "$main" 'a'
sleep 0.2  # the key's line runs
step controls "$peripherals"  # "Last key:" shows the code and the character
step click "$peripherals" 2701
step click "$peripherals" 2702
sleep 0.5  # the displays' messages reach umd-monitor
step shot "$peripherals" "$sample/peripherals.png"

# The developer tools, each from the sources panel's pop-up menu (the right button where
# no control is, then the item's mnemonic), each one's content shown once: the debug
# window, opened first so that it shows the lines a source button runs, the variables
# windows, the script editor, and the debug window's lines (Ctrl+S saves them to a file).
menu() {
  step press "$sources" right 280 90
  step key "$sources" "$1"
}
menu s
debugwin="$(window "Velcrum Debug")"
step click "$sources" 1003
menu v
variables="$(window "Debug 1")"
step items "$variables" 21000
step shot "$variables" "$sample/variables.png"
menu e
editor="$(window "Velcrum Editor")"
step items "$editor" 604
step shot "$editor" "$sample/editor.png"
step shot "$debugwin" "$sample/debug.png"
step key "$debugwin" '{Ctrl+s}'
for _ in $(seq 30); do
  [[ -s "$sample/SAMPLE__.001.debug.txt" ]] && break
  sleep 0.1
done
echo "\$ cat SAMPLE__.001.debug.txt (the debug window's lines)"
cat "$sample/SAMPLE__.001.debug.txt"
step list
step post "$main" 16
