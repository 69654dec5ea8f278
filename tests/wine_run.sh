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
export WINEPREFIX=$prefix WINEDEBUG=-all
# Without these Wine would offer to install its .NET and HTML engines on first start.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Wine's server and the services it boots (services.exe, winedevice.exe) outlive the
# program by ten seconds, so that runs that follow each other share them. Started here,
# away from the program's output, they neither hold a test runner's pipe open after the
# program has ended nor write the server's debugging dump of objects there when it stops.
# Runs starting side by side take turns here: one starts the server and boots it (making
# the prefix on first use), and the others find it running.
mkdir -p "$prefix"
(
  flock 9
  # The server and the services must not inherit the lock, or they would hold it.
  if wineserver -p10 </dev/null >/dev/null 2>&1 9>&-; then
    if [ -f "$prefix/system.reg" ]; then
      wine wineboot </dev/null >/dev/null 2>&1 9>&-
    else
      wine wineboot --init </dev/null >/dev/null 2>&1 9>&-
    fi
  fi
) 9>"$prefix.lock"

pair_dir=
socat_pid=
cleanup() {
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
wine "$program" "$@" 8>&- || status=$?
exit "$status"
