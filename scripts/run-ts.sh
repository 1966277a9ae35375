#!/usr/bin/env bash
# Builds ts and the stand-ins of the keyboard product's hook library and
# resident program, and starts ts in normal mode under Wine on a ready
# default: a program folder with ts.exe, tsdll.dll, tastrix.exe and
# licence.txt, three keyboard layouts made from the demo layout, and a
# ts2000.ini (in the session's Windows directory) that names the program
# folder and puts the layouts on the first three quick-switch buttons.
#
# The window appears on $DISPLAY when it is set, else on a new Xvfb display.
# UI language: $TS_LANGUAGE (default 0, English). Build root: $LEX_BUILD_ROOT.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LEX_BUILD_ROOT:-$root/build}
jobs=$(nproc)
"$root/scripts/install-deps.sh"

echo "== building ts"
cmake -S "$root" -B "$build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build/win" -j "$jobs" --target ts tsdll_standin tastrix_standin

run="$build/run-ts"
rm -rf "$run/program" "$run/keyboards"
mkdir -p "$run/program" "$run/keyboards"
cp "$build/win/ts/src/ts.exe" "$build/win/ts/standins/tsdll.dll" "$build/win/ts/standins/tastrix.exe" \
   "$run/program/"
sed 's/$/\r/' "$root/ts/data/licence.txt" > "$run/program/licence.txt"
for name in czech second third; do
  cp "$root/ts/data/demo.tsb" "$run/keyboards/$name.tsb"
  cp "$root/ts/data/demo.ini" "$run/keyboards/$name.ini"
done

if [ -n "${DISPLAY:-}" ]; then
  export LEX_DISPLAY=$DISPLAY
fi
export LEX_RUN_DIR=$run TS_LANGUAGE=${TS_LANGUAGE:-0}
exec "$root/scripts/wine-session.sh" "$run" bash -c '
  set -euo pipefail
  here="$0"
  win() { local p="$1"; echo "Z:${p//\//\\}"; }
  program="$(win "$LEX_RUN_DIR/program")\\"
  keyboards="$(win "$LEX_RUN_DIR/keyboards")\\"
  {
    printf "[CESTY]\r\nUmisteni programu=%s\r\n" "$program"
    printf "[Konfigurace]\r\nKomunikacni jazyk=%s\r\nPosledni=0\r\nUkoncit=1\r\nUkladat=1\r\n" "$TS_LANGUAGE"
    printf "[RYCHLOTLACITKA]\r\n"
    i=0
    for name in czech second third; do
      printf "Tlacitko %d jmeno=%s\r\nTlacitko %d nazev=XXXXX\r\nTlacitko %d data=%s%s\r\n" \
        $i "${name:0:3}" $i $i "$keyboards" "$name"
      i=$((i + 1))
    done
  } > "$WINEPREFIX/drive_c/windows/ts2000.ini"
  if [ -n "${LEX_DISPLAY:-}" ]; then
    "$here/wine-run.sh" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d Y /f >/dev/null 2>&1 || true
    "$here/wine-run.sh" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Decorated /t REG_SZ /d Y /f >/dev/null 2>&1 || true
  fi
  echo "== starting ts (display $DISPLAY); \"End\" closes it"
  cd "$LEX_RUN_DIR/program"
  "$here/wine-run.sh" ts.exe
' "$root/scripts"
