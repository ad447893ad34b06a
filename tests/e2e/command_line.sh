#!/usr/bin/env bash
# The command line without a display: --help and --version print and end
# with 0, an unknown option prints the usage and ends with 2, and none of
# them needs a window system. Usage: command_line.sh <path to kovara>
set -u
exe=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fail=0
check() { # expected status, expected text in the output, arguments...
  local want=$1 text=$2; shift 2
  out=$("$exe" "$@" 2>&1); got=$?
  if [ "$got" != "$want" ] || ! grep -qF -- "$text" <<<"$out"; then
    echo "kovara $*: status $got (wanted $want), output:"; echo "$out"; fail=1
  fi
}
check 0 "Usage: kovara [options] [reference]" --help
check 0 "Usage: kovara [options] [reference]" -h
check 0 "Kovara 2." --version
check 0 "Kovara 2." -v
check 2 "Usage: kovara [options] [reference]" --frobnicate
[ -z "$(ls -A "$home")" ] || { echo "files were made in HOME:"; ls -AR "$home"; fail=1; }
exit $fail
