#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, headless, in a Wine prefix of its own.
#   wine_run.sh PROGRAM.exe [ARGS...]
# The prefix is $ZORVAN_WINEPREFIX, or wine-prefix beside the program (the top of the
# build directory). It is made on first use; several runs starting at once make it once.
#
# The program also gets a null-modem pair of COM ports, two pseudo-terminals joined by
# socat, named in ZORVAN_TEST_COM_PAIR ("COMa,COMb"), so that the serial tests run the
# Win32 calls on both ends of a line as they would on a Windows machine with a port pair.
set -euo pipefail

program=$1
shift
prefix=${ZORVAN_WINEPREFIX:-$(cd "$(dirname "$program")" && pwd)/wine-prefix}

# No window system: console programs must not wait for a display. The window's tests
# hand over the X display they started in ZORVAN_WINE_DISPLAY.
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${ZORVAN_WINE_DISPLAY:-}" ]; then export DISPLAY=$ZORVAN_WINE_DISPLAY; fi
source "$(dirname "$0")/wine_prefix.sh"
use_wine_prefix "$prefix"
# The server outlives the program by ten seconds, so that runs that follow each other
# share it; a test suite keeps it running throughout (wine_suite_server.sh).
start_wine_server 10

# The program's output is passed on once it has ended. Wine starts some processes of its
# own when a program first needs them (the desktop's explorer.exe), and they keep the
# output they were started with while they run: handed a test runner's pipe, they would
# hold it, and the test, open long after the program has ended.
output=$(mktemp -d "${TMPDIR:-/tmp}/zorvan-wine-output.XXXXXX")
pair_dir=
socat_pid=
cleanup() {
  cat "$output/out" 2>/dev/null || true
  cat "$output/err" >&2 2>/dev/null || true
  rm -rf "$output"
  if [ -n "$socat_pid" ]; then
    kill "$socat_pid" 2>/dev/null || true
    wait "$socat_pid" 2>/dev/null || true
  fi
  if [ -n "$pair_dir" ]; then
    rm -f "$prefix/dosdevices/com$first" "$prefix/dosdevices/com$second"
    rm -rf "$pair_dir"
  fi
  return 0
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# Runs started side by side (ctest -j) share the prefix, so each takes a free pair of
# numbers, COM200 and up, held by a lock that ends with this script, however it ends.
take_com_pair() {
  command -v socat >/dev/null || return 0
  local slot
  for slot in $(seq 0 27); do
    exec 8>"$prefix/com-pair-$slot.lock"
    if flock -n 8; then
      first=$((200 + 2 * slot))
      second=$((first + 1))
      pair_dir=$(mktemp -d "${TMPDIR:-/tmp}/zorvan-com-pair.XXXXXX")
      socat "pty,raw,echo=0,link=$pair_dir/a" "pty,raw,echo=0,link=$pair_dir/b" 2>/dev/null 8>&- &
      socat_pid=$!
      local tries
      for tries in $(seq 1 100); do
        [ -e "$pair_dir/a" ] && [ -e "$pair_dir/b" ] && break
        sleep 0.05
      done
      ln -sfn "$pair_dir/a" "$prefix/dosdevices/com$first"
      ln -sfn "$pair_dir/b" "$prefix/dosdevices/com$second"
      export ZORVAN_TEST_COM_PAIR="COM$first,COM$second"
      return 0
    fi
    exec 8>&-
  done
}
take_com_pair

status=0
wine "$program" "$@" >"$output/out" 2>"$output/err" 8>&- || status=$?
# A program that Wine could not start, or that died before a word, would otherwise fail
# a test without a trace.
if [ "$status" -ne 0 ] && [ ! -s "$output/out" ] && [ ! -s "$output/err" ]; then
  echo "wine_run.sh: wine $(basename "$program") ended with status $status and printed nothing" >&2
fi
exit "$status"
