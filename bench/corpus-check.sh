#!/usr/bin/env bash
# Reads a corpus of real C++, Java and C# sources with the reader alone, in
# an optimised build, and reports the files whose reading failed and the
# lines not understood (with -v, each of them; with -list=FILE, every type
# and member read; with -expect=FILE, how much of a reference list was read).
#   bench/corpus-check.sh [-v] [-ext=hpp,h] [-list=FILE] [-expect=FILE] path...
#   e.g. bench/corpus-check.sh /usr/include/boost
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRY_SANITIZE=OFF -DVANTRY_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-3}" --target corpus_check >/dev/null
exec "$BUILD/corpus_check" "$@"
