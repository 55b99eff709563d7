# Shared by the scripts and tests that show the program in a private X server.
# Source it; it starts Xvfb on a free display, exports DISPLAY, and stops the server (and
# the program in $pid, if any) when the shell exits.

pid=
xvfb_display=:$(( 200 + RANDOM % 300 ))
Xvfb "$xvfb_display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
stop_x_session() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap stop_x_session EXIT
export DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

fail() { echo "FAIL: $*" >&2; exit 1; }

# The id of the viewable top-level window of this size (WIDTHxHEIGHT), waiting up to 10 s.
wait_for_window() {
  local id
  for _ in $(seq 100); do
    id=$(xwininfo -root -children 2>/dev/null | awk -v size="$1" '$0 ~ " "size"\\+" {print $1; exit}')
    [ -n "$id" ] && xwininfo -id "$id" | grep -q IsViewable && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window of size $1 appeared"
}

# Clicks at (x, y) inside a window, as the user's mouse would.
click() {
  xdotool mousemove --sync --window "$1" "$2" "$3" click 1
  sleep 0.5
}

# Where the program's controls are, in window pixels.
MAIN_SIZE=461x392 ABOUT_SIZE=403x247
ABOUT_BUTTON=(37 214) EXIT_BUTTON=(435 344) RETURN_BUTTON=(202 232)
