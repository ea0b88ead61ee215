# A virtual desktop for tests: Xvfb on a free display, with openbox as window manager.
# Sourced by the rigs; every function takes the rig's folder.

# The rigs start servers that outlive them. Those must not keep the caller's files open:
# a build tool or test runner waits for its pipes to close. So a rig closes every file
# it was given beyond the standard three, first thing.
desktop_close_inherited_files() {
  local fd
  for fd in /proc/$$/fd/*; do
    fd=${fd##*/}
    [ "$fd" -gt 2 ] 2>/dev/null && eval "exec $fd>&-" 2>/dev/null
  done
  return 0
}

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

# A display number that no X server uses: neither its lock file nor its socket exists.
desktop_free_display() {
  local n
  for _ in $(seq 50); do
    n=$((100 + RANDOM % 900))
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { echo "$n"; return 0; }
  done
  return 1
}

# Starts the desktop and prints its display (":N").
desktop_start() {
  local dir=$1 display="" n
  for _ in 1 2 3 4 5; do
    n=$(desktop_free_display) || break
    # -noreset: a server that resets when its last client leaves refuses the next one.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset \
      </dev/null >"$dir/xvfb.log" 2>&1 9>&- &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
      DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && { display=":$n"; break; }
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$display" ] && break
    kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
  done
  [ -n "$display" ] || { echo "Xvfb did not start" >&2; return 1; }
  # Without a window manager, hiding a window or removing a tray icon under Wine takes
  # seconds, and no window is ever active.
  DISPLAY=$display setsid openbox </dev/null >"$dir/openbox.log" 2>&1 9>&- &
  echo $! >"$dir/openbox.pid"
  # Ready once it tells what it supports: activating windows, among others.
  for _ in $(seq 100); do
    DISPLAY=$display xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW && break
    sleep 0.1
  done
  echo "$display"
}
