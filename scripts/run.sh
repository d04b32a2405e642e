#!/usr/bin/env bash
# Builds the client and runs it under Wine against the stand-in operator
# server. Arguments go to the client, for example /web8266D or /PeluxD.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${PELUX_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target windows windows64
exec python3 tests/harness/run_client.py "$build" "$@"
