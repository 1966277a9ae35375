#!/usr/bin/env bash
# Two programs on one slot: slottool adds entries while slottool dumps of the
# same slot run one after another beside it. Every dump must succeed (a
# reader beside a writer never calls a sound slot damaged), and the slot is
# whole at the end.
# Usage: slottool_beside_writer.sh SLOTTOOL ENTRIES [RUNNER...]
set -u
tool=$1; entries=$2; shift 2
runner=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cd" "$work/disk"
cd "$work"
tool_run() { "${runner[@]}" "$tool" "$@"; }

tool_run create cd disk 12 || { echo "FAIL: create"; exit 1; }
# Words spread over the whole list, so that the writer links nodes ahead of
# the dumps, behind them and among them.
awk -v n="$entries" 'BEGIN { srand(7); for (i = 0; i < n; i++) {
  w = ""; len = 3 + int(rand() * 6); for (j = 0; j < len; j++) w = w sprintf("%c", 97 + int(rand() * 16));
  printf "%s\tt%d\n", w, i } }' > words.txt

tool_run add cd disk 12 akce1.idx < words.txt > add.out 2> add.err &
writer=$!
dumps=0 besides=0 failures=0
while kill -0 "$writer" 2> /dev/null; do
  besides=$((besides + 1))
  if ! tool_run dump cd disk 12 > dump.out 2> dump.err; then
    failures=$((failures + 1))
    echo "FAIL: dump $besides beside the writer: $(cat dump.err)"
  fi
done
wait "$writer" || { echo "FAIL: the writer ended with an error: $(cat add.err)"; exit 1; }
added=$(grep -c '^1$' add.out)
bad=$(grep -vc '^[12]$' add.out)
[ "$bad" = 0 ] || { echo "FAIL: $bad adds failed"; failures=$((failures + 1)); }
tool_run dump cd disk 12 > dump.out 2> dump.err || { echo "FAIL: final dump: $(cat dump.err)"; exit 1; }
words=$(cut -f1 words.txt | sort -u | wc -l)
lines=$(wc -l < dump.out)
[ "$lines" = "$words" ] || { echo "FAIL: $lines entries listed, $words words added"; failures=$((failures + 1)); }
echo "dumps beside the writer: $besides, failed: $failures; adds: $added"
[ "$besides" -ge 1 ] || { echo "FAIL: no dump ran beside the writer"; exit 1; }
[ "$failures" = 0 ]
