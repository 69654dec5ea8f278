#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, headless, in a Wine prefix of its own.
#   wine_run.sh PROGRAM.exe [ARGS...]
# The prefix is $ZORVAN_WINEPREFIX, or wine-prefix beside the program (the top of the
# build directory). It is made on first use; several runs starting at once make it once.
set -euo pipefail

program=$1
shift
prefix=${ZORVAN_WINEPREFIX:-$(cd "$(dirname "$program")" && pwd)/wine-prefix}

# No window system: these are console programs, and Wine must not wait for a display.
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX=$prefix WINEDEBUG=-all
# Without these Wine would offer to install its .NET and HTML engines on first start.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      wine wineboot --init >/dev/null 2>&1
      wineserver -w
    fi
  ) 9>"$prefix.lock"
fi

exec wine "$program" "$@"
