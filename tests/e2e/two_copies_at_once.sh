#!/usr/bin/env bash
# Starts the built program twice at the same moment for a new user who has
# Kovara 1 data (fresh HOME, virtual X display). One copy must hand over and
# end by itself with status 0; the other shows the one main window, asks the
# two import questions once (answered Yes here, with xdotool), and ends with
# status 0 on SIGTERM. Each old item and the old plan must then be in the
# databases exactly once. Usage: two_copies_at_once.sh <path to kovara>
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

py=$(command -v /usr/bin/python3 || command -v python3)
old=$("$py" "$here/make_version1_files.py" "$home/.local/share/Kovara") || { echo "cannot write the old files"; exit 1; }
titles=$(printf '%s\n' "$old" | grep -v '^read days:')
read_days=$(printf '%s\n' "$old" | sed -n 's/^read days: //p' | wc -w)

"$here/with_display.sh" bash -c '
  exe=$0
  windows() { xwininfo -root -tree 2>/dev/null | grep -c "\"Kovara 2.0.1.2\": "; }
  "$exe" >"$HOME/one.log" 2>&1 & one=$!
  "$exe" >"$HOME/two.log" 2>&1 & two=$!
  stop() { kill -KILL $one $two 2>/dev/null; echo "--- first copy:"; cat "$HOME/one.log"; echo "--- second copy:"; cat "$HOME/two.log"; exit 1; }

  # The copy that hands over ends by itself, and soon.
  for _ in $(seq 1 300); do
    kill -0 $one 2>/dev/null && kill -0 $two 2>/dev/null || break
    sleep 0.1
  done
  if ! kill -0 $one 2>/dev/null; then ended=$one; running=$two
  elif ! kill -0 $two 2>/dev/null; then ended=$two; running=$one
  else echo "both copies still run after 30 s"; stop; fi
  wait $ended; rc=$?
  [ $rc -eq 0 ] || { echo "the copy that handed over exited with $rc"; stop; }

  # Answer each import question (a message box captioned "Kovara") with Yes,
  # once per box.
  answered=" "
  for _ in $(seq 1 600); do
    kill -0 $running 2>/dev/null || { echo "the running copy ended early"; stop; }
    for id in $(xdotool search --onlyvisible --name "^Kovara\$" 2>/dev/null); do
      case "$answered" in *" $id "*) continue ;; esac
      xdotool key --window "$id" y 2>/dev/null && answered="$answered$id "
    done
    [ $(echo $answered | wc -w) -ge 2 ] && break
    sleep 0.2
  done
  [ $(echo $answered | wc -w) -eq 2 ] || { echo "expected two import questions, answered: $answered"; stop; }
  # Both answers have been taken once no question is left on screen.
  for _ in $(seq 1 300); do
    [ -z "$(xdotool search --onlyvisible --name "^Kovara\$" 2>/dev/null)" ] && break
    sleep 0.2
  done
  [ -z "$(xdotool search --onlyvisible --name "^Kovara\$" 2>/dev/null)" ] || { echo "a message box is still open"; stop; }
  sleep 1
  [ -z "$(xdotool search --onlyvisible --name "^Kovara\$" 2>/dev/null)" ] || { echo "a third message box appeared"; stop; }
  n=$(windows)
  [ "$n" -eq 1 ] || { echo "expected one main window, found $n"; xwininfo -root -tree; stop; }

  kill -TERM $running
  wait $running; rc=$?
  [ $rc -eq 0 ] || { echo "the running copy exited with $rc after SIGTERM"; stop; }
' "$exe" || exit 1

data="$home/.local/share/Kovara 2"
got=$(sqlite3 "$data/prayers.kova2" "SELECT prayerTitle FROM prayerTracker ORDER BY prayerIndex;") ||
  { echo "cannot read prayers.kova2"; exit 1; }
[ "$got" = "$titles" ] || { printf 'prayer items after the import:\n%s\nexpected:\n%s\n' "$got" "$titles"; exit 1; }
plans=$(sqlite3 "$data/userreadplans.kova2" "SELECT COUNT(*) FROM KOVA2PlanMaster;")
[ "$plans" = 1 ] || { echo "expected one plan, found $plans"; exit 1; }
table=$(sqlite3 "$data/userreadplans.kova2" "SELECT tableName FROM KOVA2PlanMaster;")
done_days=$(sqlite3 "$data/userreadplans.kova2" "SELECT COUNT(*) FROM '$table' WHERE dayDone != 0;")
[ "$done_days" = "$read_days" ] || { echo "expected $read_days read days, found $done_days"; exit 1; }
echo "ok: one copy handed over, one main window, each old item and the plan imported once"
