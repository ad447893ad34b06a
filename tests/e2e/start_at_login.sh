#!/usr/bin/env bash
# Started by the autostart entry (kovara --autostart), Kovara waits minimised
# when no reading is due and shows its window when one is; started by hand it
# always shows it. Usage: start_at_login.sh <path to kovara>
set -u
exe=$1

# Starts kovara with the given arguments on a fresh display and prints the
# initial state of its main window ("Iconic" or "Normal").
window_state() {
  # A virtual display that is slow to take connections on a busy machine is
  # given another try or two.
  local try out
  for try in 1 2 3; do
    out=$(window_state_once "$@") && { echo "$out"; return 0; }
  done
  echo "$out"
  return 1
}

window_state_once() {
  "$(dirname "$0")/with_display.sh" bash -c '
    "$0" "$@" 2>"$HOME/kovara.err" & pid=$!
    for i in $(seq 1 100); do
      id=$(xwininfo -root -tree 2>/dev/null | grep "\"Kovara 2.0.1.2\"" | awk "{print \$1}" | head -n1)
      [ -n "$id" ] && break
      kill -0 $pid 2>/dev/null || break
      sleep 0.2
    done
    [ -n "$id" ] || { echo "main window did not appear"; cat "$HOME/kovara.err"; kill $pid 2>/dev/null; exit 1; }
    # The hints are set before the window is mapped: wait for the mapping.
    for i in $(seq 1 100); do
      xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && break
      sleep 0.1
    done
    # A window shown normally carries no initial state at all.
    if xprop -id "$id" WM_HINTS | grep -q "Initial state is Iconic"; then echo Iconic; else echo Normal; fi
    kill -TERM $pid
    wait $pid
  ' "$exe" "$@"
}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

state=$(window_state --autostart) || { echo "$state"; exit 1; }
[ "$state" = Iconic ] || { echo "at log-in with nothing due: expected a minimised window, got '$state'"; exit 1; }

# A plan whose first day is today: a reading is due.
data="$home/.local/share/Kovara 2"
today=$(date -u -d "$(date +%F)" +%s)
sqlite3 "$data/userreadplans.kova2" "
  CREATE TABLE IF NOT EXISTS KOVA2PlanMaster (tableName TEXT UNIQUE, planTitle TEXT, startDate INTEGER, status TEXT);
  CREATE TABLE '{00000000-0000-4000-8000-000000000001}' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER);
  INSERT INTO '{00000000-0000-4000-8000-000000000001}' VALUES (NULL, '1-31', 0), (NULL, '32-56', 0);
  INSERT INTO KOVA2PlanMaster VALUES ('{00000000-0000-4000-8000-000000000001}', 'Due', $today, 'active');"
state=$(window_state --autostart) || { echo "$state"; exit 1; }
[ "$state" = Normal ] || { echo "at log-in with a reading due: expected the window shown, got '$state'"; exit 1; }
state=$(window_state) || { echo "$state"; exit 1; }
[ "$state" = Normal ] || { echo "started by hand: expected the window shown, got '$state'"; exit 1; }
echo "ok: minimised at log-in with nothing due, shown with a reading due and when started by hand"
