# A private X display for Windows programs under Wine: start_display picks a free display
# number, starts Xvfb on it and exports DISPLAY; stop_display ends it.
#
# Several runs may pick the same free number at once; only one Xvfb gets it, and the others
# must not take that display for theirs (their windows would meet the other run's dialogs).
# A display is ours once its lock file names our Xvfb; otherwise the next number is tried.
start_display() {
  local n=90
  while [ "$n" -lt 190 ]; do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      ZT_XVFB_PID=$!
      if display_is_ours "$n"; then
        export DISPLAY=":$n"
        return 0
      fi
      kill "$ZT_XVFB_PID" 2>/dev/null && wait "$ZT_XVFB_PID" 2>/dev/null
      ZT_XVFB_PID=
    fi
    n=$((n + 1))
  done
  echo "Xvfb did not start on any display from :90 on" >&2
  return 1
}

# Waits up to 5 s for our Xvfb to hold display n and listen on it; false when it ended or
# another server holds the display.
display_is_ours() {
  local n=$1 owner
  for _ in $(seq 50); do
    kill -0 "$ZT_XVFB_PID" 2>/dev/null || return 1
    owner=$({ tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null) || owner=
    if [ -n "$owner" ] && [ "$owner" != "$ZT_XVFB_PID" ]; then return 1; fi
    [ "$owner" = "$ZT_XVFB_PID" ] && [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  return 1
}

stop_display() {
  [ -n "${ZT_XVFB_PID:-}" ] && kill "$ZT_XVFB_PID" 2>/dev/null && wait "$ZT_XVFB_PID" 2>/dev/null
  ZT_XVFB_PID=
}
