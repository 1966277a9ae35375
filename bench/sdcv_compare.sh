#!/usr/bin/env bash
# Times the lookups of the bench and those of sdcv (the console StarDict
# program, Debian package sdcv) on the same entries and words, in one run:
#   bench/sdcv_compare.sh BENCH [bench options]
#   e.g. bench/sdcv_compare.sh build/bench/bench/bench --shipped 150000 --dir /tmp/slot
# The bench writes its entries as a StarDict dictionary (--stardict) and its
# lookup words; one sdcv run looks every word up exactly (-n -e, the words as
# arguments: from standard input sdcv reads through its line editor, which
# costs more than the lookup), its output thrown away. sdcv's time per word is
# that of all words less that of the first word alone (its start), best of
# three runs; the bench's is its best pass's mean.
set -euo pipefail
bench=${1:?usage: sdcv_compare.sh BENCH [bench options]}
shift
command -v sdcv >/dev/null || { echo "sdcv_compare: sdcv is not installed (apt-get install sdcv)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work SDCV_HISTSIZE=0

"$bench" "$@" --passes 3 --stardict "$work/sd" >"$work/bench.txt"
grep -E "^bench: (best pass|entries=|six opens|reads per)" "$work/bench.txt"
mapfile -t words <"$work/sd/words.txt"
n=${#words[@]}
run() {  # run WORD...: nanoseconds of one sdcv run
  local t0 t1
  t0=$(date +%s%N)
  sdcv -n -e -x --data-dir "$work/sd" "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $((t1 - t0))
}
run "${words[0]}" >/dev/null  # sdcv writes its index cache once
best=
for _ in 1 2 3; do
  all=$(run "${words[@]}")
  one=$(run "${words[0]}")
  per=$(((all - one) / (n - 1)))
  if [ -z "$best" ] || [ "$per" -lt "$best" ]; then best=$per; fi
done
ours=$(sed -n 's/^bench: best pass of [0-9]*: \([0-9.]*\) us per lookup$/\1/p' "$work/bench.txt")
awk -v s="$best" -v o="$ours" -v n="$n" 'BEGIN {
  printf "sdcv: %d words, %.1f us per word\n", n, s / 1000
  printf "compare: bench %.1f us, sdcv %.1f us per word: %.2f of sdcv\n", o, s / 1000, o / (s / 1000) }'
