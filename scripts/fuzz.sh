#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for a chosen time.
#
#   scripts/fuzz.sh <seconds per target> [target...]
#
# Targets: rtf backup version1 versespec ini links (all when none is named).
# Each run starts from the committed seeds in fuzz/corpus/<target>/ and keeps
# what it finds in build-fuzz/corpus/<target>/; crashes are written to
# build-fuzz/crashes/<target>/ and end the run of that target. The runs are
# niced so that the machine stays usable. FUZZ_JOBS=2 runs two at a time.
# (The normal build makes the same programs without libFuzzer, as replays of
# the seeds and of inputs made from them, and runs them as the fuzz.* tests.)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 <seconds per target> [target...]" >&2
  exit 2
fi
seconds=$1
shift
all_targets=(rtf backup version1 versespec ini links)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] || { echo "unknown target: $t (one of: ${all_targets[*]})" >&2; exit 2; }
done

# clang and its runtime libraries (libFuzzer, the sanitizers), on top of what
# scripts/setup.sh installs.
packages=(clang libclang-rt-14-dev cmake ninja-build pkg-config
  qt6-base-dev libsqlite3-dev zlib1g-dev libfmt-dev libpugixml-dev libgtest-dev libgmock-dev)
. "$root/scripts/packages.sh"
ensure_packages "${packages[@]}"

out="$root/build-fuzz"
mkdir -p "$out"
# The shipped content is not built here, but the project wants its sources
# named: use the fetched ones when scripts/setup.sh has run, else empty stand-ins.
kjv="$root/build/sources/bibledit-data/usr/share/bibledit/sources/kjv.xml"
verses="$root/build/sources/verse/usr/share/verse/daily.verse"
[ -f "$kjv" ] || { kjv="$out/unused-kjv.xml"; touch "$kjv"; }
[ -f "$verses" ] || { verses="$out/unused-daily.verse"; touch "$verses"; }

cmake -S "$root" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKOVARA_FUZZ=ON \
  -DKOVARA_KJV_XML="$kjv" -DKOVARA_DAILY_VERSE="$verses" >/dev/null
nice -n 19 cmake --build "$out" -j2 --target $(printf 'fuzz_%s ' "${targets[@]}")

# Inputs larger than this are cut: the version-1 files hold records of 537
# bytes and a backup needs a header and two sections.
declare -A max_len=([rtf]=8192 [backup]=16384 [version1]=8192 [versespec]=512 [ini]=4096 [links]=128)

run_one() {
  local t=$1
  mkdir -p "$out/corpus/$t" "$out/crashes/$t"
  echo "== fuzz_$t for ${seconds}s (log: build-fuzz/fuzz_$t.log)"
  # Leak checks are off for the RTF reader: Qt keeps font and layout caches for
  # the life of the process, which look like leaks to libFuzzer.
  local leaks=1
  [ "$t" = rtf ] && leaks=0
  set +e
  QT_QPA_PLATFORM=offscreen nice -n 19 "$out/fuzz/fuzz_$t" -max_total_time="$seconds" -max_len="${max_len[$t]}" \
    -detect_leaks=$leaks -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/crashes/$t/" "$out/corpus/$t" "$root/fuzz/corpus/$t" >"$out/fuzz_$t.log" 2>&1
  local rc=$?
  set -e
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)|^Done|ERROR|expectation failed' "$out/fuzz_$t.log" | sed "s/^/  $t: /" || true
  echo "  $t: corpus $(ls "$out/corpus/$t" | wc -l) files, exit code $rc"
  return $rc
}

jobs=${FUZZ_JOBS:-1}
status=0
pids=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
