#!/usr/bin/env bash
# Compares what the engine of an earlier commit and of this tree give, byte
# for byte: every lookup of two large generated slots (bench --results), and
# `slottool dump` and `slottool lookup` on the demo slots and on a generated
# shipped slot. Both are built natively in Release (no sanitizers).
#   bench/compare_builds.sh REV [WORK]     e.g. bench/compare_builds.sh 9145372
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rev=${1:?usage: compare_builds.sh REV [WORK]}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
jobs=4
failures=0
same() {  # same NAME FILE1 FILE2
  if cmp -s "$2" "$3"; then echo "same: $1 ($(wc -c <"$2") bytes)"; else echo "DIFFERENT: $1"; failures=$((failures + 1)); fi
}

echo "== building $rev and this tree (Release, no sanitizers)"
rm -rf "$work/old" && mkdir -p "$work/old"
git -C "$root" archive "$rev" | tar -x -C "$work/old"
# The earlier tree gets this tree's bench and slot generator (they use only
# what its engine already had).
rm -rf "$work/old/bench" "$work/old/tools/slotgen"
cp -r "$root/bench" "$work/old/bench"
cp -r "$root/tools/slotgen" "$work/old/tools/slotgen"
cp "$root/tools/CMakeLists.txt" "$work/old/tools/CMakeLists.txt"
old_fs=$work/old/core/files/file_system.h
[ -f "$old_fs" ] || old_fs=$work/old/core/engine/file_system.h
grep -q "virtual bool Exists" "$old_fs" ||
  sed -i '/bool Exists(const std::string& p) override/d' "$work/old/bench/bench.cpp"
grep -q "virtual int32_t ReadSome" "$old_fs" ||
  sed -i '/int32_t ReadSome(lex::FileHandle h/d' "$work/old/bench/bench.cpp"
# Before the one file layer: no exclusive create, size by path, replace or
# remove, and a close without a result.
grep -q "virtual FileHandle CreateNew" "$old_fs" ||
  sed -i -e '/CreateNew(const std::string& p) override/d' -e '/int64_t FileSize(const std::string& p) override/d' \
         -e '/bool Replace(const std::string& from, const std::string& to) override/d' \
         -e '/bool Remove(const std::string& p) override/d' \
         -e 's/bool Close(lex::FileHandle h) override { return Time(kClose, \[&\] { return inner_.Close(h); }); }/void Close(lex::FileHandle h) override { Time(kClose, [\&] { inner_.Close(h); return 0; }); }/' \
         "$work/old/bench/bench.cpp"
for side in old new; do
  src=$root; [ "$side" = old ] && src=$work/old
  cmake -S "$src" -B "$work/build-$side" -DCMAKE_BUILD_TYPE=Release -DLEX_SANITIZE=OFF >/dev/null
  cmake --build "$work/build-$side" -j "$jobs" --target bench slottool >/dev/null
done
old_tool=$work/build-old/tools/slottool/slottool
new_tool=$work/build-new/tools/slottool/slottool

echo "== every lookup of two generated 150,000-sense slots"
for mode in "--shipped 150000 --adds 1000" "--generate 150000"; do
  name=$(echo "$mode" | tr -d ' -')
  for side in old new; do
    # shellcheck disable=SC2086
    "$work/build-$side/bench/bench" $mode --results "$work/$name-$side.txt" | tail -1 | sed "s/^/$side: /"
  done
  same "lookups, bench $mode" "$work/$name-old.txt" "$work/$name-new.txt"
done

# Dump and per-word lookups of a slot with both tools.
compare_slot() {  # compare_slot NAME CD DISK SLOT STEP
  local name=$1 cd=$2 disk=$3 slot=$4 step=$5
  "$old_tool" dump "$cd" "$disk" "$slot" >"$work/dump-old.txt"
  "$new_tool" dump "$cd" "$disk" "$slot" >"$work/dump-new.txt"
  same "$name: dump" "$work/dump-old.txt" "$work/dump-new.txt"
  : >"$work/lookups-old.txt"; : >"$work/lookups-new.txt"
  local n=0
  while IFS= read -r word; do
    for w in "$word" "${word:0:2}" "${word}zq"; do
      "$old_tool" lookup "$cd" "$disk" "$slot" "$w" >>"$work/lookups-old.txt" 2>&1 || true
      "$new_tool" lookup "$cd" "$disk" "$slot" "$w" >>"$work/lookups-new.txt" 2>&1 || true
    done
    n=$((n + 1))
  done < <(cut -f1 "$work/dump-new.txt" | awk -v s="$step" 'NR % s == 1 || s == 1')
  same "$name: lookups of $n words (each, its first two letters, and an absent word)" \
    "$work/lookups-old.txt" "$work/lookups-new.txt"
}

echo "== demo slots"
python3 "$root/lexora/tools/demo_slots.py" "$root/lexora/data" "$work/demo-input"
rm -rf "$work/demo" && mkdir -p "$work/demo/cd" "$work/demo/disk"
for slot in 0 1 2 3; do
  "$new_tool" create "$work/demo/cd" "$work/demo/disk" "$slot"
  "$new_tool" add "$work/demo/cd" "$work/demo/disk" "$slot" "$work/demo/akce1.idx" \
    <"$work/demo-input/slot$slot.txt" >/dev/null
  compare_slot "demo slot $slot" "$work/demo/cd" "$work/demo/disk" "$slot" 1
done

echo "== generated shipped slot"
rm -rf "$work/gen" && mkdir -p "$work/gen/cd" "$work/gen/disk"
"$new_tool" generate "$work/gen/cd" "$work/gen/disk" 0 150000 11
compare_slot "generated slot 0" "$work/gen/cd" "$work/gen/disk" 0 200

echo "$failures difference(s); files in $work"
[ "$failures" -eq 0 ]
