#!/usr/bin/env bash
# Checks that no include runs against the layers (docs/LAYERS.md): each directory of src/
# may include only the directories listed for it, and only src/platform/ and apps/ include
# Qt. The build enforces the same through each library's include directories; this check
# names the offending line. Prints every forbidden include and exits 1 if there is one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root/src"

# What each directory may include besides itself.
declare -A allowed=(
  [platform]=""
  [interpreter]="platform"
  [runtime]="interpreter platform"
  [commands]="runtime interpreter platform"
  [panels]="runtime interpreter platform"
  [network]="runtime interpreter platform"
  [peripherals]="runtime interpreter platform"
  [tools]="runtime interpreter platform"
  [controls]=""
  [keyhook]="platform"
  [shell]="commands panels network peripherals tools controls runtime interpreter platform"
)

status=0
for directory in */; do
  directory="${directory%/}"
  if [[ -z "${allowed[$directory]+set}" ]]; then
    echo "check-layers: src/$directory is not a known layer; add it to this script and to docs/LAYERS.md"
    status=1
    continue
  fi
  permitted=" $directory ${allowed[$directory]} "
  while IFS=: read -r file line text; do
    target="$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")"
    if [[ "$permitted" != *" $target "* ]]; then
      echo "src/$file:$line: src/$directory may not include $target/: $text"
      status=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/' "$directory" || true)
done

# Qt headers (<QWidget>, <QtCore/...>) only in the platform layer.
while IFS=: read -r file line text; do
  echo "src/$file:$line: only src/platform/ and apps/ include Qt: $text"
  status=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' --exclude-dir=platform . | sed 's#^\./##' || true)

exit "$status"
