#!/usr/bin/env bash
# wine-session.sh DIR COMMAND...
# Runs COMMAND with a private Wine prefix in DIR/wineprefix (copied from a
# template prepared once in DIR/wineprefix-template), its own Xvfb display and
# a persistent wineserver; all three are stopped afterwards.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mkdir -p "$1" && cd "$1" && pwd); shift

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=/usr/lib/wine/wine64
export WINEARCH=win64

template="$dir/wineprefix-template"
if [ ! -f "$template/.ready" ]; then
  rm -rf "$template"
  echo "wine-session: preparing a Wine prefix (once)"
  WINEPREFIX="$template" /usr/lib/wine/wine64 wineboot -i </dev/null >/dev/null 2>&1
  WINEPREFIX="$template" /usr/lib/wine/wineserver -w
  reg() { WINEPREFIX="$template" /usr/lib/wine/wine64 reg add "$@" /f </dev/null >/dev/null 2>&1; }
  reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
  reg 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d ''
  reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1
  reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
  WINEPREFIX="$template" /usr/lib/wine/wineserver -w
  if [ -d /usr/share/wine/fonts ]; then
    cp -f /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  touch "$template/.ready"
fi

export WINEPREFIX="$dir/wineprefix"
rm -rf "$WINEPREFIX"
cp -a "$template" "$WINEPREFIX"

# Own display, unless the caller gave one (LEX_DISPLAY).
xvfb_pid=""
if [ -n "${LEX_DISPLAY:-}" ]; then
  export DISPLAY=$LEX_DISPLAY
else
  # Xvfb picks a free display itself and says which once it accepts
  # connections: two sessions started at once never share one.
  numfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  num=""
  for _ in $(seq 600); do
    num=$(tr -dc '0-9' <"$numfile")
    [ -n "$num" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numfile"
  [ -n "$num" ] || { echo "wine-session: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$num"
fi

/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
# Start the prefix's own services now, with their output going nowhere: a
# service started by the first test program would keep that test's output
# pipe open and the test would never end.
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
cleanup() {
  /usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
"$@"
