#!/usr/bin/env bash
# Start-up time and memory of kovara against a bare Qt Widgets window, both
# started the same way on a virtual X display of its own (Xvfb):
# a fresh HOME each time, prepared with the user data, the clock read before
# the program is started and again when xwininfo first sees its window mapped,
# processor time of all its threads read at that moment (from the kernel's
# per-thread schedstat, which load on the machine moves far less than the
# wall time), resident memory read one second later. Prints every run and
# the medians.
# A start whose window has not shown after STARTUP_TIMEOUT seconds (60) fails
# the run with the program's output.
#
#   bench/startup.sh <build folder> [runs]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-7}
work=$(mktemp -d)
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
unset QT_QPA_PLATFORM

# A display of our own; the server picks a free number itself. Started again
# when it goes away (the machine is shared with other users of Xvfb).
start_x() {
  [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$work/display")
}
start_x

# The user data every kovara start gets: 10 plans and 500 prayer items.
seed="$work/seed/Kovara 2/"
"$build/make_bench_data" "$build/" "$seed" 10 500

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# The main window is titled "Kovara <version>"; the version is the build's.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null)
if [ -z "$version" ]; then
  echo "no project version in $build/CMakeCache.txt: is $build a configured build folder?" >&2
  exit 1
fi
kovara_title="Kovara $version"

# How long a start may take before its window shows (STARTUP_TIMEOUT seconds).
timeout_s=${STARTUP_TIMEOUT:-60}

# One start of program (path) whose window is titled title: prints
# "<milliseconds to visible> <resident KB one second later> <processor ms to visible>".
start_once() {
  local program=$1 title=$2 home
  home=$(mktemp -d "$work/home.XXXX")
  mkdir -p "$home/.local/share" "$home/run" && chmod 700 "$home/run"
  cp -r "$work/seed/Kovara 2" "$home/.local/share/"
  local t0 t1 pid
  t0=$(now_ms)
  HOME=$home XDG_RUNTIME_DIR=$home/run "$program" >"$home.log" 2>&1 &
  pid=$!
  local deadline=$(( t0 + timeout_s * 1000 ))
  until xwininfo -name "$title" 2>/dev/null | grep -q 'Map State: IsViewable'; do
    if ! kill -0 $pid 2>/dev/null; then
      echo "$program ended before its window showed:" >&2; cat "$home.log" >&2
      return 1
    fi
    if [ "$(now_ms)" -gt "$deadline" ]; then
      echo "$program showed no window titled \"$title\" within $timeout_s s; its output:" >&2
      cat "$home.log" >&2
      kill -KILL $pid 2>/dev/null; wait $pid 2>/dev/null || true
      return 1
    fi
  done
  t1=$(now_ms)
  local cpu
  cpu=$(cat /proc/$pid/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%.1f", s / 1e6}')
  sleep 1
  local rss
  rss=$(awk '/^VmRSS:/ {print $2}' /proc/$pid/status)
  kill -TERM $pid; wait $pid || true
  rm -rf "$home"
  echo "$((t1 - t0)) $rss $cpu"
}

# start_once into the variable named by $1, tried again on a new display
# when the display went away.
start() {
  local into=$1 result
  shift
  if ! result=$(start_once "$@"); then
    echo "starting again on a new display" >&2
    start_x
    result=$(start_once "$@")
  fi
  printf -v "$into" '%s' "$result"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

# One start of each first, not counted: it brings the files into the cache.
start b "$build/bare_window" "Bare Window"
start k "$build/kovara" "$kovara_title"

: >"$work/bare" ; : >"$work/kovara"
for i in $(seq 1 "$runs"); do
  start b "$build/bare_window" "Bare Window"
  start k "$build/kovara" "$kovara_title"
  read -r bw br bc <<<"$b"; read -r kw kr kc <<<"$k"
  echo "run $i: bare window $bw ms $br KB $bc ms processor; kovara $kw ms $kr KB $kc ms processor"
  echo "$b" >>"$work/bare"; echo "$k" >>"$work/kovara"
done

bt=$(cut -d' ' -f1 "$work/bare" | median); bm=$(cut -d' ' -f2 "$work/bare" | median)
kt=$(cut -d' ' -f1 "$work/kovara" | median); km=$(cut -d' ' -f2 "$work/kovara" | median)
bc=$(cut -d' ' -f3 "$work/bare" | median); kc=$(cut -d' ' -f3 "$work/kovara" | median)
awk -v bt="$bt" -v kt="$kt" -v bm="$bm" -v km="$km" -v bc="$bc" -v kc="$kc" 'BEGIN {
  printf "\n%-50s %12s %18s  %s\n", "scenario", "median", "target", "met"
  printf "%-50s %9.0f ms   <= 1.3x %6.0f ms  %s (%.2fx)\n", "start-up to the main window visible", kt, bt, (kt <= 1.3 * bt) ? "yes" : "NO", kt / bt
  printf "%-50s %9.1f ms   <= 1.3x %6.1f ms  %s (%.2fx)\n", "processor time to the main window visible", kc, bc, (kc <= 1.3 * bc) ? "yes" : "NO", kc / bc
  printf "%-50s %9.0f KB   <= 1.5x %6.0f KB  %s (%.2fx)\n", "resident memory one second after start-up", km, bm, (km <= 1.5 * bm) ? "yes" : "NO", km / bm
}'
