#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test:
#   native (g++, AddressSanitizer and UndefinedBehaviorSanitizer): the portable core
#   windows (MinGW-w64, under Wine and Xvfb): everything
#   fuzz (clang, libFuzzer): each fuzz target once over its corpus (scripts/fuzz.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LEX_BUILD_ROOT:-$root/build}
jobs=$(nproc)
"$root/scripts/install-deps.sh"

echo "== native build"
cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"
echo "== windows build"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win" -j "$jobs"

status=0
echo "== native tests"
(cd "$build/native" && ctest --output-on-failure -j "$jobs") || status=1
echo "== fuzz targets: a replay of their corpora (clang)"
LEX_JOBS=$jobs "$root/scripts/fuzz.sh" replay || status=1
echo "== windows tests (Wine)"
"$root/scripts/wine-session.sh" "$build/win" \
  bash -c "cd '$build/win' && ctest --output-on-failure -j 4" || status=1
exit $status
