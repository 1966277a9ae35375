#!/usr/bin/env bash
# The fuzz targets of tools/fuzz (libFuzzer, clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) in a build of their own, build/fuzz:
#   scripts/fuzz.sh build                      configure and build every target
#   scripts/fuzz.sh replay [TARGET...]         run each target once over every file of its corpus
#   scripts/fuzz.sh search TARGET [SECONDS] [libFuzzer options...]
#                                              search for new inputs (300 s unless told); new
#                                              inputs go to build/fuzz/found/TARGET, crashes
#                                              to build/fuzz/crashes/TARGET
# LEX_BUILD_ROOT (default: the tree's build/) holds build/fuzz.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LEX_BUILD_ROOT:-$root/build}/fuzz
corpus=$root/tools/fuzz/corpus
jobs=${LEX_JOBS:-3}
targets=(fuzz_action_log fuzz_lookup fuzz_whole_files fuzz_keyboard fuzz_templates fuzz_archive)

configure_and_build() {
  local launcher=() log="$build/build.log"
  mkdir -p "$build"
  # One build at a time (searches started side by side share the build).
  exec 9>"$build/.lock"
  flock 9
  if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  if ! { CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DLEX_FUZZ=ON -DLEX_SANITIZE=ON "${launcher[@]}" &&
          cmake --build "$build" -j "$jobs" --target fuzz_targets; } >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz build failed (log: $log)"
    exit 1
  fi
  flock -u 9
}

binary() { echo "$build/tools/fuzz/$1"; }

case "${1:-replay}" in
build)
  configure_and_build
  ;;
replay)
  shift || true
  configure_and_build
  [ $# -gt 0 ] && targets=("$@")
  status=0
  for t in "${targets[@]}"; do
    files=("$corpus/$t"/*)
    start=$(date +%s%N)
    if "$(binary "$t")" -timeout=60 "${files[@]}" >"$build/$t.replay.log" 2>&1; then
      ms=$(( ($(date +%s%N) - start) / 1000000 ))
      printf '%-18s %3d inputs  %5d ms  held\n' "$t" "${#files[@]}" "$ms"
    else
      echo "$t: FAILED on its corpus (log: $build/$t.replay.log)"
      tail -n 40 "$build/$t.replay.log"
      status=1
    fi
  done
  exit $status
  ;;
search)
  t=${2:?target}
  seconds=${3:-300}
  shift 3 2>/dev/null || shift $#
  configure_and_build
  mkdir -p "$build/found/$t" "$build/crashes/$t"
  "$(binary "$t")" -max_total_time="$seconds" -timeout=25 -print_final_stats=1 \
      -artifact_prefix="$build/crashes/$t/" "$@" "$build/found/$t" "$corpus/$t"
  ;;
*)
  sed -n '2,12p' "$0"
  exit 2
  ;;
esac
