#!/usr/bin/env bash
# Drives the real program in a private X server with the mouse, as a user would: the
# program ends only when neither of its windows is left, whichever is closed first; and
# with no display at all it says so once, on standard error, and fails.
#   [X_SESSION_WM=openbox] program_lifetime_test.sh PATH/TO/taqwim
set -euo pipefail
program=$1
source "$(dirname "$0")/../scripts/x-session.sh"

running() { kill -0 "$pid" 2>/dev/null; }
exit_status() { # waits up to five seconds for the program to end
  for _ in $(seq 50); do running || break; sleep 0.1; done
  running && fail "the program is still running"
  local status=0
  wait "$pid" || status=$?
  pid=
  echo "$status"
}

run() { # which window to close first: main or about
  "$program" >/dev/null 2>&1 &
  pid=$!
  local main about
  main=$(wait_for_window "$pid" main)
  click "$main" "${ABOUT_BUTTON[@]}"
  about=$(wait_for_window "$pid" about)
  if [ "$1" = main ]; then
    click "$main" "${EXIT_BUTTON[@]}"
    sleep 1
    running || fail "closing the main window ended the program while About was open"
    click "$about" "${RETURN_BUTTON[@]}"
  else
    click "$about" "${RETURN_BUTTON[@]}"
    running || fail "closing About ended the program while the main window was open"
    click "$main" "${EXIT_BUTTON[@]}"
  fi
  local status
  status=$(exit_status)
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  echo "closing $1 first: ended with status 0 once both windows were closed"
}

no_display() {
  local errors lines status=0
  errors=$(mktemp)
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$program" \
    >/dev/null 2>"$errors" || status=$?
  mapfile -t lines <"$errors"
  rm "$errors"
  [ "$status" -eq 1 ] || fail "with no display the program ended with status $status, not 1"
  [ ${#lines[@]} -eq 1 ] || fail "with no display the program wrote ${#lines[@]} lines, not one:" \
    "$(printf '\n  %s' "${lines[@]}")"
  # In UTF-8 the Arabic letters, U+0600 to U+067F, begin with one of these bytes.
  LC_ALL=C grep -q $'[\xd8\xd9]' <<<"${lines[0]}" || fail "no Arabic in: ${lines[0]}"
  LC_ALL=C grep -q '[A-Za-z]\{3\}' <<<"${lines[0]}" || fail "no English in: ${lines[0]}"
  echo "with no display: status 1 and one line: ${lines[0]}"
}

run main
run about
# It needs no X session, so one of the two runs is enough.
[ -n "${X_SESSION_WM:-}" ] || no_display
