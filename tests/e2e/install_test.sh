#!/usr/bin/env bash
# `cmake --install` puts the program, its desktop entry and its icons in place.
#   install_test.sh <build-dir>
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
cd "$prefix"
test -x bin/melodane
grep -qx 'Exec=melodane' share/applications/melodane.desktop
grep -qx 'Icon=melodane' share/applications/melodane.desktop
for size in 16 22 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/melodane.png
  [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || { echo "$icon"; exit 1; }
done
