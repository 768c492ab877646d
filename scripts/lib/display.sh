# A private X display for Windows programs under Wine: start_display picks a free display
# number, starts Xvfb on it and exports DISPLAY; stop_display ends it.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  ZT_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on display :$n" >&2
  return 1
}

stop_display() {
  [ -n "${ZT_XVFB_PID:-}" ] && kill "$ZT_XVFB_PID" 2>/dev/null && wait "$ZT_XVFB_PID" 2>/dev/null
  ZT_XVFB_PID=
}
