# A virtual desktop for tests: Xvfb on a free display, with openbox as window manager.
# Sourced by the rigs; every function takes the rig's folder. Nothing started here may
# hold the caller's lock on fd 9.

desktop_alive() {
  local p
  for p in xvfb openbox; do
    [ -f "$1/$p.pid" ] && kill -0 "$(cat "$1/$p.pid")" 2>/dev/null || return 1
  done
}

desktop_stop() {
  local p
  for p in openbox xvfb; do
    [ -f "$1/$p.pid" ] && kill "$(cat "$1/$p.pid")" 2>/dev/null || true
  done
}

# Starts the desktop and prints its display (":N").
desktop_start() {
  local dir=$1
  # Xvfb picks a free display and writes its number to fd 3.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 9>&- &
  echo $! >"$dir/xvfb.pid"
  for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.1; done
  [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  local display=":$(head -n1 "$dir/display")"
  # Without a window manager, hiding a window or removing a tray icon under Wine takes
  # seconds, and no window is ever active.
  DISPLAY=$display setsid openbox </dev/null >"$dir/openbox.log" 2>&1 9>&- &
  echo $! >"$dir/openbox.pid"
  echo "$display"
}
