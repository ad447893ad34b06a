#!/usr/bin/env bash
# Sets up and builds Kovara, then runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cd build
exec ctest --output-on-failure -j2
