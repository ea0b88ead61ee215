#!/usr/bin/env bash
# `cmake --install` puts the program, its desktop entry and its icons in place.
#   install_test.sh <build-dir>
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
fail=0
for file in bin/melodane share/applications/melodane.desktop \
            share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/melodane.png; do
  [ -e "$prefix/$file" ] || { echo "missing: $file"; fail=1; }
done
[ -x "$prefix/bin/melodane" ] || { echo "not executable: bin/melodane"; fail=1; }
grep -q '^Exec=melodane$' "$prefix/share/applications/melodane.desktop" || { echo "no Exec line"; fail=1; }
grep -q '^Icon=melodane$' "$prefix/share/applications/melodane.desktop" || { echo "no Icon line"; fail=1; }
identify -format '%wx%h' "$prefix/share/icons/hicolor/48x48/apps/melodane.png" | grep -qx 48x48 \
  || { echo "the 48x48 icon is not 48x48"; fail=1; }
exit $fail
