#!/usr/bin/env bash
# Runs one Windows program under Wine in the prefix of the current session
# (see wine-session.sh). CMake uses it as the cross-compiling emulator.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINELOADER=${WINELOADER:-/usr/lib/wine/wine64}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set; run inside scripts/wine-session.sh" >&2
  exit 125
fi
exec /usr/lib/wine/wine64 "$@"
