#!/usr/bin/env bash
# Kills a running copy of the built program with SIGKILL, which leaves its
# lock file (and its socket) behind. The next start must still show its main
# window, and a start after that must hand over to it and end with status 0
# without a second main window. Usage: after_a_killed_copy.sh <path to kovara>
set -u
exe=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

"$(dirname "$0")/with_display.sh" bash -c '
  exe=$0
  lock="$HOME/.local/share/Kovara 2/kovara.lock"
  windows() { xwininfo -root -tree 2>/dev/null | grep -c "\"Kovara 2.0.1.2\": "; }
  # Waits up to 30 s for n main windows while process pid runs.
  wait_windows() {
    for _ in $(seq 1 150); do
      [ "$(windows)" -eq "$2" ] && return 0
      kill -0 $1 2>/dev/null || { echo "kovara ended before its main window showed"; return 1; }
      sleep 0.2
    done
    echo "expected $2 main windows, found $(windows)"; return 1
  }

  "$exe" & killed=$!
  wait_windows $killed 1 || { kill -KILL $killed; exit 1; }
  kill -KILL $killed; wait $killed 2>/dev/null
  [ -f "$lock" ] || { echo "the killed copy left no lock file"; exit 1; }
  [ "$(windows)" -eq 0 ] || { echo "the killed copy still has a window"; exit 1; }

  "$exe" & next=$!
  wait_windows $next 1 || { kill -KILL $next; exit 1; }

  "$exe" 2>"$HOME/third.log" & third=$!
  for _ in $(seq 1 300); do kill -0 $third 2>/dev/null || break; sleep 0.1; done
  if kill -0 $third 2>/dev/null; then echo "a later start still runs after 30 s"; kill -KILL $third $next; exit 1; fi
  wait $third; rc=$?
  [ $rc -eq 0 ] || { echo "a later start exited with $rc"; cat "$HOME/third.log"; kill -KILL $next; exit 1; }
  grep -q "did not answer" "$HOME/third.log" && { echo "a later start could not reach the running copy"; kill -KILL $next; exit 1; }
  [ "$(windows)" -eq 1 ] || { echo "expected one main window, found $(windows)"; kill -KILL $next; exit 1; }

  kill -TERM $next
  wait $next; rc=$?
  [ $rc -eq 0 ] || { echo "kovara exited with $rc after SIGTERM"; exit 1; }
  [ ! -e "$lock" ] || { echo "the lock file is left after a normal end"; exit 1; }
' "$exe" || exit 1
echo "ok: started after a killed copy, a later start handed over, lock file gone after a normal end"
