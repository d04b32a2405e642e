#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the Windows test
# programs and the end-to-end scenarios under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${PELUX_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure "$@"
