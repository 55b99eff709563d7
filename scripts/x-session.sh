#!/usr/bin/env bash
# The private X session that the scripts and end-to-end tests show the program in, and the
# one place that finds and handles the program's windows in it.
#
# Sourced, it starts Xvfb on a free display, and the window manager named in X_SESSION_WM
# (openbox, say) if that is set, exports DISPLAY, and stops them (and the program in $pid,
# if any) when the shell exits.
# Run as a command, it calls one of its functions on the display in DISPLAY, for the tests
# that are not shell scripts:   x-session.sh FUNCTION ARGUMENT...

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the command until it succeeds, for up to ten seconds.
wait_until() {
  for _ in $(seq 100); do "$@" && return; sleep 0.1; done
  return 1
}

manages_the_screen() { [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]; }

# Starts a window manager and returns once it manages the screen, so that every window the
# program maps afterwards is framed by it.
start_window_manager() {
  "$1" >/dev/null 2>&1 &
  wm_pid=$!
  wait_until manages_the_screen || fail "$1 did not start managing the screen"
}

# The program's viewable window, main or about, waiting for it. Under a window manager the
# root's children are the manager's frames, so the program's own windows are found by its
# process id and told apart by their size.
wait_for_window() { # PID main|about
  local size id
  case $2 in
    main) size=$(scaled 461)x$(scaled 392) ;;
    about) size=$(scaled 403)x$(scaled 247) ;;
    *) fail "the program has no window called $2" ;;
  esac
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
      [[ $(xdotool getwindowgeometry "$id" 2>/dev/null) == *"Geometry: $size"* ]] \
        && { echo "$id"; return; }
    done
    sleep 0.1
  done
  fail "no $2 window of process $1 appeared"
}

# How the window manager shows the window: Normal and viewable, or Iconic and not.
shown_as() {
  local state viewable=unviewable
  state=$(xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}')
  [[ $(xwininfo -id "$1" 2>/dev/null) == *IsViewable* ]] && viewable=viewable
  echo "${state:-no state} $viewable"
}
is_shown_as() { [ "$(shown_as "$1")" = "$2" ]; }

wait_for_state() { # WINDOW Normal|Iconic
  local wanted="$2 unviewable"
  [ "$2" = Normal ] && wanted="$2 viewable"
  wait_until is_shown_as "$1" "$wanted" || fail "window $1 is $(shown_as "$1"), not $wanted"
}

# Minimises the window as its title bar's button does, through the window manager.
minimise() {
  xdotool windowminimize "$1"
  wait_for_state "$1" Iconic
}

# The title the window manager puts on the window.
window_title() { xdotool getwindowname "$1"; }

# Gives the window the keyboard, through the window manager.
activate() { xdotool windowactivate --sync "$1"; }

# Logical pixels in the screen's pixels, at the scale the program is shown in.
scaled() { awk -v n="$1" -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN {printf "%d", n * s + 0.5}'; }

# Clicks a control of the program's window, as the user's mouse would: the About strip, the
# exit button, «إلى ذاكرة الطابعة» or the printer of the main window, the return button of
# About. Window-relative places stay right under a window manager as long as the window is
# the program's own, not the frame.
# The click is only sent: the caller waits for what it should bring about.
click() { # WINDOW about|exit|summary|print|return
  local place
  case $2 in
    about) place=(37 214) ;;
    exit) place=(435 344) ;;
    summary) place=(327 351) ;;
    print) place=(54 344) ;;
    return) place=(202 232) ;;
    *) fail "the program has no control called $2" ;;
  esac
  # Away first: a move to where the pointer already is never ends its wait.
  xdotool mousemove --window "$1" 0 0 \
    mousemove --sync --window "$1" "$(scaled "${place[0]}")" "$(scaled "${place[1]}")" click 1
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  declare -F "${1:-}" >/dev/null || fail "usage: $0 FUNCTION ARGUMENT..."
  "$@"
  exit
fi

pid='' wm_pid='' xvfb_pid=''
stop_x_session() {
  local process
  for process in "$pid" "$wm_pid" "$xvfb_pid"; do
    if [ -n "$process" ]; then kill "$process" 2>/dev/null || true; fi
  done
}
trap stop_x_session EXIT
# Xvfb picks a free display itself and writes its number once it accepts clients. Without
# -noreset the server resets whenever its last client leaves, and turns away whoever
# connects during the reset.
x_session_folder=$(mktemp -d)
mkfifo "$x_session_folder/display"
Xvfb -displayfd 3 -screen 0 "${X_SESSION_SCREEN:-1024x768x24}" -nolisten tcp -noreset \
  3>"$x_session_folder/display" >/dev/null 2>&1 &
xvfb_pid=$!
display_number=
read -r display_number <"$x_session_folder/display" || true
rm -r "$x_session_folder"
[ -n "$display_number" ] || fail "Xvfb did not start"
export DISPLAY=:$display_number QT_QPA_PLATFORM=xcb
[ -z "${X_SESSION_WM:-}" ] || start_window_manager "$X_SESSION_WM"
