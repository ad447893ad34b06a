#!/usr/bin/env bash
# Runs a command on a virtual X display of its own. The X server picks a free
# display number itself (-displayfd), so several runs at once never collide.
# Usage: with_display.sh <command> [arguments...]
set -u
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fd_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$fd_file" ] && break
  kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start"; exit 1; }
  sleep 0.05
done
[ -s "$fd_file" ] || { echo "Xvfb did not report its display"; exit 1; }
export DISPLAY=:$(head -n1 "$fd_file")
"$@"
