#!/usr/bin/env bash
# Builds and runs the benchmarks (not part of the tests): the in-process
# scenarios with Google Benchmark, then start-up time and memory against a
# bare Qt window under a virtual X display. Each part ends with a table of
# medians against the targets. Arguments go to the in-process benchmark
# (e.g. --benchmark_filter=Welcome); STARTUP_RUNS sets the start-up runs (15).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh >/dev/null
cmake --build build -j2 --target kovara_bench make_bench_data bare_window kovara >/dev/null
echo "machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
./build/kovara_bench --benchmark_color=false "$@"
echo
bench/startup.sh build "${STARTUP_RUNS:-15}"
