# Sourced by the tests of two computers: each computer is Kovara with a HOME
# of its own under $root, keeping its data in step through a folder.
# The sourcing script sets root and exe and keeps the started processes in
# the array pids.

# The computer's user data folder.
data() { echo "$root/$1/.local/share/Kovara 2"; }
# Makes computer $1's HOME with sync on through folder $2.
make_home() {
  mkdir -p "$(data "$1")" "$root/$1/run"
  chmod 700 "$root/$1/run"
  printf '[Misc]\nOfferImport1x=0\n[Sync]\nEnabled=1\nFolder=%s\nComputerName=Computer %s\n' "$2" "$1" \
    >"$(data "$1")/settings.ini"
}
start() {
  HOME=$root/$1 XDG_DATA_HOME= XDG_CONFIG_HOME= XDG_RUNTIME_DIR=$root/$1/run "$exe" >"$root/$1.log" 2>&1 &
  pids+=($!)
}
# Waits until $1 Kovara windows are mapped; fails after 30 s.
wait_windows() {
  for _ in $(seq 1 150); do
    [ "$(xwininfo -root -tree 2>/dev/null | grep -c '"Kovara 2.0.1.2"')" -ge "$1" ] && return 0
    sleep 0.2
  done
  return 1
}
# Runs SQL on one of computer $1's databases.
q() { sqlite3 -cmd '.timeout 2000' "$(data "$1")/$2" "$3"; }
