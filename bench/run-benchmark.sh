#!/usr/bin/env bash
# Builds the program, the standard module and the end-to-end benchmark in an
# optimised build without sanitizers, then documents a generated corpus.
#   bench/run-benchmark.sh [classes]      (default 3000)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-bench}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRY_SANITIZE=OFF -DVANTRY_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target vantry vantry-standard site_bench
"$BUILD/site_bench" "${1:-3000}"
