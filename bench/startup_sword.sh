#!/usr/bin/env bash
# Start-up with the SWORD library's modules installed against none: the
# start-up series of bench/startup.sh run twice, alternately, once as the
# machine is (the Debian modules in /usr/share/sword) and once with that
# folder hidden behind an empty one in a mount namespace of its own (no
# module anywhere; the machine itself is left as it is, so other programs
# see no change). Kovara loads the SWORD plug-in only when a version list or
# a commentary is first needed, so the two should not differ beyond the
# noise. Prints each series' medians and the ratios. Needs root (or sudo)
# for the namespace.
#
#   bench/startup_sword.sh <build folder> [runs per series] [series]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-7}
series=${3:-2}
here=$(cd "$(dirname "$0")" && pwd)
library=/usr/share/sword
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The medians of one series: "<wall ms> <processor ms> <resident KB>".
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
medians() {
  echo "$(awk '/^run / {print $13}' "$1" | median) $(awk '/^run / {print $17}' "$1" | median)" \
    "$(awk '/^run / {print $15}' "$1" | median)"
}

for s in $(seq 1 "$series"); do
  "$here/startup.sh" "$build" "$runs" >"$out/with-$s" 2>&1
  "${sudo_cmd[@]}" unshare -m sh -c 'mount -t tmpfs none "$1" && shift && exec "$@"' sh "$library" \
    "$here/startup.sh" "$build" "$runs" >"$out/none-$s" 2>&1
  read -r ww wc wm <<<"$(medians "$out/with-$s")"
  read -r nw nc nm <<<"$(medians "$out/none-$s")"
  awk -v s="$s" -v ww="$ww" -v wc="$wc" -v wm="$wm" -v nw="$nw" -v nc="$nc" -v nm="$nm" 'BEGIN {
    printf "series %d: with modules %s ms, %s ms processor, %s KB; without %s ms, %s ms processor, %s KB;", s, ww, wc, wm, nw, nc, nm
    printf " ratios %.3f / %.3f / %.3f\n", ww / nw, wc / nc, wm / nm }'
done
