#!/usr/bin/env bash
# Builds lexora and starts it under Wine on a ready default: a data folder with
# the English-Czech, Czech-English, German-Czech and Czech-German slots filled
# from the demo word lists (lexora/data), written through the engine (slottool),
# and an lx2000.ini that points at it.
#
# The window appears on $DISPLAY when it is set, else on a new Xvfb display.
# Build root: $LEX_BUILD_ROOT (default: build/ in the repository).
# `scripts/run.sh lexbulk` starts the bulk utility on the same data instead
# (as lexora's Utility command does: "LEXBULK.exe start" in the program folder).
set -euo pipefail
program=${1:-lexora}
case "$program" in
  lexora|lexbulk) ;;
  *) echo "usage: $0 [lexora|lexbulk]" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LEX_BUILD_ROOT:-$root/build}
jobs=$(nproc)
"$root/scripts/install-deps.sh"

echo "== building lexora"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win" -j "$jobs" --target lexora lexbulk slottool

run="$build/run"
rm -rf "$run/program" "$run/data" "$run/input"
mkdir -p "$run/program" "$run/data/cd" "$run/data/disk"
cp "$build/win/lexora/lexora.exe" "$build/win/lexora/LEXBULK.exe" "$run/program/"
# The verb tables (F7) beside the program, in code page 1250 with CR LF.
iconv -f UTF-8 -t CP1250 "$root/lexora/data/verbs_en.txt" | sed 's/$/\r/' > "$run/program/NEPR_A.SLO"
iconv -f UTF-8 -t CP1250 "$root/lexora/data/verbs_de.txt" | sed 's/$/\r/' > "$run/program/NEPR_N.SLO"
cp "$root/core/dialogs/data/licence.txt" "$run/program/"
python3 "$root/lexora/tools/demo_slots.py" "$root/lexora/data" "$run/input"

if [ -n "${DISPLAY:-}" ]; then
  export LEX_DISPLAY=$DISPLAY
fi
export LEX_PROGRAM=$program LEX_RUN_DIR=$run LEX_SLOTTOOL="$build/win/tools/slottool/slottool.exe"
exec "$root/scripts/wine-session.sh" "$run" bash -c '
  set -euo pipefail
  here="$0"
  win() { local p="$1"; echo "Z:${p//\//\\}"; }
  cd_folder="$(win "$LEX_RUN_DIR/data/cd")\\"
  disk_folder="$(win "$LEX_RUN_DIR/data/disk")\\"
  demo_log="$(win "$LEX_RUN_DIR/data")\\demo.idx"
  echo "== writing the demo slots"
  for slot in 0 1 2 3; do
    "$here/wine-run.sh" "$LEX_SLOTTOOL" create "$cd_folder" "$disk_folder" $slot >/dev/null
    results=$("$here/wine-run.sh" "$LEX_SLOTTOOL" add "$cd_folder" "$disk_folder" $slot "$demo_log" \
              < "$LEX_RUN_DIR/input/slot$slot.txt")
    added=$(printf "%s\n" "$results" | grep -c "^1" || true)
    echo "   slot $slot: $added entries"
  done
  printf "[CESTY]\r\nUmisteni slovni zasoby CD=%s\r\nUmisteni slovni zasoby DISK=%s\r\n" \
    "$cd_folder" "$disk_folder" > "$WINEPREFIX/drive_c/windows/lx2000.ini"
  if [ -n "${LEX_DISPLAY:-}" ]; then
    # A real desktop: let its window manager frame the windows.
    "$here/wine-run.sh" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d Y /f >/dev/null 2>&1 || true
    "$here/wine-run.sh" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1 || true
  fi
  echo "== starting $LEX_PROGRAM (display $DISPLAY); close its window to end"
  cd "$LEX_RUN_DIR/program"
  if [ "$LEX_PROGRAM" = lexbulk ]; then
    "$here/wine-run.sh" LEXBULK.exe start
  else
    "$here/wine-run.sh" lexora.exe
  fi
' "$root/scripts"
