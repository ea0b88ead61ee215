#!/usr/bin/env bash
# Takes a picture of the Windows program's main window, frame included, on the test
# rig's display, and checks that it shows a window of the designed client size.
#   window_screenshot.sh <session-dir> <bin-dir> <picture.png>
set -euo pipefail
session=$1 bin=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
"$here/../../../scripts/lib/wine-session" start "$session"
# shellcheck disable=SC1091
source "$session/env"
mkdir -p "$(dirname "$out")"
rm -f "$out"

wine reg delete 'HKCU\Software\VB and VBA Program Settings\BWSMD' /f >/dev/null 2>&1 || true
(cd "$bin" && exec wine melodane.exe) </dev/null >/dev/null 2>&1 &
runner=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Melodane$' | head -n1)
sleep 1  # let it paint
import -frame -window "$window" "$out"
client=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')

# Closing through the window manager, as a user would.
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
timeout 20 tail --pid="$runner" -f /dev/null || { echo "the program did not end"; exit 1; }

size=$(identify -format '%wx%h' "$out")
echo "client area ${client}, picture with frame ${size}: $out"
[ "$client" = "456x253" ] || { echo "expected a 456x253 client area at 96 dpi"; exit 1; }
