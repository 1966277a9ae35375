#!/usr/bin/env bash
# Runs slottool as its own process through every command and checks its output.
# Usage: slottool_cli.sh SLOTTOOL [RUNNER...]   (RUNNER: e.g. the Wine wrapper)
set -u
tool=$1; shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cd" "$work/disk"
cd "$work"
failures=0
tool_run() { "${runner[@]}" "$tool" "$@"; }
runner=("$@")

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $(printf '%s' "$2" | od -c | head -5)"; echo "  actual:   $(printf '%s' "$3" | od -c | head -5)"
    failures=$((failures + 1))
  else
    echo "ok: $1"
  fi
}

tool_run create cd disk 0 || { echo "FAIL: create"; exit 1; }
check "fresh slot files" "440 40 18 78 40 44" \
  "$(stat -c %s cd/ac_a.slo cd/ac_c.slo disk/ac.idx disk/ac_adi.slo disk/ac_ad.slo disk/ac_cd.slo | tr '\n' ' ' | sed 's/ $//')"

out=$(printf 'house\td\xf9m\thaus\r\nhouse\tdomek\thaus\nhouse\tdomek\thaus\ncar\tauto\n.skip\tx\n' | tool_run add cd disk 0 akce1.idx)
check "add results" $'1\n1\n2\n1\n1' "$out"

out=$(tool_run dump cd disk 0)
check "dump" $'car\t\tauto\nhouse\thaus\td\xf9m\tdomek' "$out"

out=$(tool_run lookup cd disk 0 house; echo end)
line=$(printf '%52s' '' | tr ' ' '-')
check "lookup" "[haus]"$'\n'"d"$'\xf9'"m"$'\r\n'"domek"$'\r\n'"$line"$'\r\n'"--"$'\n'"house"$'\t'"haus"$'\n'"end" "$out"

out=$(tool_run lookup cd disk 0 bus; echo end)
check "lookup of a missing word" $'\n--\ncar\t\nhouse\thaus\nend' "$out"

check "delete translation" "1" "$(tool_run delete cd disk 0 akce1.idx house domek)"
check "delete missing" "2" "$(tool_run delete cd disk 0 akce1.idx boat)"
check "delete word" "1" "$(tool_run delete cd disk 0 akce1.idx car)"
check "after deletes" $'house\thaus\td\xf9m' "$(tool_run dump cd disk 0)"
check "undo" "1" "$(tool_run undo cd disk akce1.idx)"
check "undo" "1" "$(tool_run undo cd disk akce1.idx)"
check "after undo" $'car\t\tauto\nhouse\thaus\td\xf9m\tdomek' "$(tool_run dump cd disk 0)"
check "redo" "1" "$(tool_run redo cd disk akce1.idx)"
check "after redo" $'car\t\tauto\nhouse\thaus\td\xf9m' "$(tool_run dump cd disk 0)"

# Czech slot: the ch rule and a custom separator for grammar notes.
tool_run create cd disk 1 || failures=$((failures + 1))
out=$(printf 'chata\tcottage\nhrad\tcastle\nih\tx\nchata\t#n. noun\n' | tool_run --separator '#' add cd disk 1 akce1.idx)
check "add to slot 1" $'1\n1\n1\n1' "$out"
check "Czech order" $'hrad\t\tcastle\nchata\t\tcottage\t#n. noun\nih\t\tx' "$(tool_run --separator '#' dump cd disk 1)"
check "English order" $'chata\t\tcottage\t.n. noun\nhrad\t\tcastle\nih\t\tx' "$(tool_run --sort-type 0 dump cd disk 1 | sort)"

# A generated shipped slot: every entry listed, and each found by a lookup.
mkdir -p gen/cd gen/disk
tool_run generate gen/cd gen/disk 4 300 5 || { echo "FAIL: generate"; failures=$((failures + 1)); }
tool_run dump gen/cd gen/disk 4 >gen/dump.txt
check "generated entries listed" "yes" "$([ "$(wc -l <gen/dump.txt)" -gt 50 ] && echo yes)"
word=$(sed -n 7p gen/dump.txt | cut -f1)
check "generated entry found" "$word" "$(tool_run lookup gen/cd gen/disk 4 "$word" | sed -n '/^--$/{n;p;q}' | cut -f1)"
check "same entries again" "$(cat gen/dump.txt)" "$(tool_run generate gen/cd gen/disk 4 300 5 && tool_run dump gen/cd gen/disk 4)"

# Bad arguments: non-zero exit and a message.
for bad in "create cd disk 20" "lookup cd disk 0" "frobnicate" "--sort-type 11 dump cd disk 0" "add cd disk x akce1.idx" "generate cd disk 0 many"; do
  # shellcheck disable=SC2086
  if tool_run $bad </dev/null >/dev/null 2>err.txt || [ ! -s err.txt ]; then
    echo "FAIL: bad arguments accepted: $bad"; failures=$((failures + 1))
  else
    echo "ok: refused: $bad"
  fi
done
if printf 'no tab here\n' | tool_run add cd disk 0 akce1.idx >/dev/null 2>err.txt || [ ! -s err.txt ]; then
  echo "FAIL: bad input line accepted"; failures=$((failures + 1))
fi
mkdir -p missing
if tool_run dump missing missing 3 >/dev/null 2>err.txt || [ ! -s err.txt ]; then
  echo "FAIL: dump of a missing slot"; failures=$((failures + 1))
fi

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
