#!/usr/bin/env bash
# Documents sources with the optimised program and the standard module, and
# compares the member entries of every class page with what the program
# sent to the module in the same run: members lost, members shown twice,
# member anchors that stand twice on a page, and each member's comment
# against the text a browser shows of its entry (texts cut, missing or
# shown with another member; bench/page_check.py says how).
#   bench/page-check.sh [-v] [vantry options] input...
# Examples:
#   bench/page-check.sh /work/corpus/jdk/java.base
#   bench/page-check.sh -extensions=hpp,h /usr/include/boost
#   bench/page-check.sh -accept3slash e2e/corpus/csharp
# -v names each member lost, duplicated or unmatched, each ambiguous anchor
# and each text not shown whole; -include-private, -include-protected=false,
# -enable-author and -enable-version reach the module and the count alike.
# SITE=DIR keeps the site (and the list, DIR.list) there; otherwise both go
# to a temporary folder under $TMPDIR (else /tmp) that is removed.
set -euo pipefail
if [ $# -eq 0 ]; then
  sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRY_SANITIZE=OFF \
  -DVANTRY_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-3}" --target vantry vantry-standard vantry-listing >/dev/null
check=() program=()
for argument in "$@"; do
  case $argument in
    -v) check+=("$argument") ;;
    # The module's own options say which members its pages show.
    -include-private|-include-private=true) check+=(-private) program+=("$argument") ;;
    -include-protected=false) check+=(-no-protected) program+=("$argument") ;;
    -enable-author|-enable-author=true) check+=(-author) program+=("$argument") ;;
    -enable-version|-enable-version=true) check+=(-version) program+=("$argument") ;;
    *) program+=("$argument") ;;
  esac
done
if [ -n "${SITE:-}" ]; then
  site=$SITE list=$SITE.list
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/vantry-pages-XXXXXX")
  trap 'rm -rf "$work"' EXIT
  site=$work/site list=$work/list
fi
rm -rf "$site"
mkdir -p "$(dirname "$site")"
env -u DISPLAY -u WAYLAND_DISPLAY VANTRY_LISTING_MODULE="$BUILD/modules/vantry-standard.so" \
  VANTRY_LISTING_FILE="$list" "$BUILD/vantry" -autorun -overwrite \
  -moduledir="$BUILD/bench-modules" -module=vantry-listing "${program[@]}" "$site/index.html" \
  2>"$site.log" || { tail -5 "$site.log" >&2; exit 1; }
python3 "$ROOT/bench/page_check.py" "${check[@]}" "$list"
