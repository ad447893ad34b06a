#!/usr/bin/env bash
# Starts the built program as a new user would (fresh HOME, virtual X display),
# waits for its main window, ends it with SIGTERM and checks what it left in
# the user data folder. Usage: start_and_stop.sh <path to kovara>
set -u
exe=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

"$(dirname "$0")/with_display.sh" bash -c '
  "$0" & pid=$!
  for i in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q "\"Kovara 2.0.1.2\""; then found=1; break; fi
    if ! kill -0 $pid 2>/dev/null; then break; fi
    sleep 0.2
  done
  if [ -z "${found:-}" ]; then echo "main window did not appear"; kill $pid 2>/dev/null; exit 1; fi
  kill -TERM $pid
  wait $pid; rc=$?
  [ $rc -eq 0 ] || { echo "kovara exited with $rc after SIGTERM"; exit 1; }
' "$exe" || exit 1

data="$home/.local/share/Kovara 2"
[ -d "$data" ] || { echo "user data folder missing: $data"; exit 1; }
[ -f "$data/prayers.kova2" ] || { echo "prayers.kova2 was not created"; exit 1; }
ini="$data/settings.ini"
[ -f "$ini" ] || { echo "settings.ini missing: $ini"; exit 1; }
for key in ParagraphMode SplitPercent TextBackColor TextFontColor TextFontName TextFontSize \
           LastBackupFile LastRestoreFile LastFaithsCheckbookRead OfferImport1x; do
  grep -q "^$key=" "$ini" || { echo "settings.ini lacks $key"; cat "$ini"; exit 1; }
done
grep -q '^OfferImport1x=0' "$ini" || { echo "the import offer was not recorded as made"; cat "$ini"; exit 1; }
grep -q '^\[Main Window State\]' "$ini" && grep -q '^Saved=1' "$ini" ||
  { echo "settings.ini lacks the main window's placement"; cat "$ini"; exit 1; }
echo "ok: window shown, closed on SIGTERM, user data folder and settings.ini written"
