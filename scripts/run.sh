#!/usr/bin/env bash
# Sets up and builds Kovara, then starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
exec ./build/kovara "$@"
