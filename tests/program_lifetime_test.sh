#!/usr/bin/env bash
# Drives the real program in a private X server with the mouse, as a user would: the
# program ends only when neither of its windows is left, whichever is closed first.
#   program_lifetime_test.sh PATH/TO/taqwim
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
  main=$(wait_for_window $MAIN_SIZE)
  click "$main" "${ABOUT_BUTTON[@]}"
  about=$(wait_for_window $ABOUT_SIZE)
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

run main
run about
