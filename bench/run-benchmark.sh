#!/usr/bin/env bash
# Builds the program, the standard module and the end-to-end benchmark in an
# optimised build without sanitizers, then documents a generated corpus.
#   bench/run-benchmark.sh [classes]      (default 3000)
# The corpus and the site go under $TMPDIR (else /tmp). On ext4, creating the
# site's thousands of files within minutes of deleting as many (an earlier
# run's site) makes the kernel search its inode tables and can double the
# system time; TMPDIR=/dev/shm measures the program alone.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build-bench}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRY_SANITIZE=OFF -DVANTRY_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target vantry vantry-standard site_bench
"$BUILD/site_bench" "${1:-3000}"
