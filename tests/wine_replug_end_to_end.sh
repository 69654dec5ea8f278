#!/usr/bin/env bash
# An adapter unplugged and plugged back in under the Windows flasher, under Wine: zorvan-sim
# (the Linux build) serves a device behind a COM port that hangs up in the middle of a
# run; once the test says so, a fresh device is offered at the same COM port, and the
# same port object in the same Windows process must program it, byte for byte.
#   wine_replug_end_to_end.sh ZORVAN_SIM ZORVAN_TESTS_EXE
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

tests=$2
source "$(dirname "$0")/wine_end_to_end_setup.sh" "$1" "$tests"
source "$here/sim_port.sh"

work=$(mktemp -d)
first_pid= second_pid= watcher_pid=
port_number=151
cleanup() {
  for pid in $watcher_pid $first_pid $second_pid; do kill "$pid" 2>/dev/null || true; done
  rm -f "$prefix/dosdevices/com$port_number"
  rm -rf "$work"
}
trap cleanup EXIT

# Starts zorvan-sim with the adapter's link and the given options; waits for its port.
start_device() {
  local out=$1
  shift
  "$sim" --baud 0 --geometry 16,64,2 --link "$work/adapter" "$@" >"$out" 2>&1 &
  [ -n "$(sim_port "$out")" ] && return 0
  echo "zorvan-sim did not start:"; cat "$out"; exit 1
}

srec_cat -generate 0 0x800 -repeat-string "Plugged back in under Wine. " -o "$work/firmware.hex" -intel
start_device "$work/first.out" --hangup-after 6
first_pid=$!

add_com_port "$port_number" "$work/adapter"

# The adapter: once the test has met the hang-up, the first device is gone and a fresh
# one takes its place at the same link.
(
  while [ ! -e "$work/pulled" ]; do sleep 0.05; done
  wait "$first_pid" 2>/dev/null || true
  start_device "$work/second.out" --verify "$work/firmware.hex"
  echo $! >"$work/second.pid"
  touch "$work/plugged"
  wait
) &
watcher_pid=$!

status=0
ZORVAN_REPLUG_PORT=COM$port_number ZORVAN_REPLUG_SIGNALS=$(windows_path "$work") \
  ZORVAN_REPLUG_HEX=$(windows_path "$work/firmware.hex") \
  "$here/wine_run.sh" "$tests" --gtest_filter='WindowsReplug.*' --gtest_also_run_disabled_tests || status=$?
[ "$status" -eq 0 ] || { echo "FAILED: the test exited with $status"; exit 1; }

second_pid=$(cat "$work/second.pid")
kill -TERM "$second_pid"
for _ in $(seq 100); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.05; done
wait "$watcher_pid" 2>/dev/null || true
cat "$work/second.out"
grep -q "the flash holds" "$work/second.out" || { echo "FAILED: the device plugged back in was not programmed"; exit 1; }
echo "The adapter plugged back in was programmed, byte for byte."
