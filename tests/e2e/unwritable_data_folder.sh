#!/usr/bin/env bash
# Starts the built program for a user whose data folder cannot be created
# (the per-user application-data folder is a file, which stops root as well
# as anyone else): it must say so in a message box captioned "Kovara" and
# wait there, neither crashing nor opening its main window, and create
# nothing. Usage: unwritable_data_folder.sh <path to kovara>
set -u
exe=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" "$home/.local" && chmod 700 "$XDG_RUNTIME_DIR"
printf 'not a folder\n' >"$home/.local/share"
unset QT_QPA_PLATFORM

"$(dirname "$0")/with_display.sh" bash -c '
  "$0" & pid=$!
  for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Kovara\": "; then found=1; break; fi
    if ! kill -0 $pid 2>/dev/null; then wait $pid; echo "kovara ended (status $?) without a message"; exit 1; fi
    sleep 0.2
  done
  [ -n "${found:-}" ] || { echo "no message box captioned Kovara appeared"; kill $pid; exit 1; }
  sleep 0.5
  kill -0 $pid 2>/dev/null || { wait $pid; echo "kovara ended (status $?) while showing the message"; exit 1; }
  if xwininfo -root -tree 2>/dev/null | grep -q "\"Kovara 2.0.1.2\""; then
    echo "the main window opened although the data folder is missing"; kill $pid; exit 1
  fi
  kill -KILL $pid; wait $pid 2>/dev/null
  exit 0
' "$exe" || exit 1

[ "$(cat "$home/.local/share")" = "not a folder" ] || { echo "the file in the way was changed"; exit 1; }
echo "ok: message box shown, no crash, nothing created"
