#!/usr/bin/env bash
# zorvan-flash.exe under Wine against devices that do not answer in time, behind a COM
# port: one that reads every frame and answers none (the wrong port picked, a device
# without power), one whose every answer comes after the identification is over, and one
# whose line drops while a reply is awaited. Every wait ends at a deadline of the
# program's own, whatever Wine's serial driver does with the port's time-outs: the first
# two end with the not-found message and its exit status, the third with the port's read
# error, each within the identification's own time and a few seconds.
#   wine_unanswered_device_test.sh ZORVAN_SIM ZORVAN_FLASH_EXE
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

flash=$2
source "$(dirname "$0")/wine_end_to_end_setup.sh" "$1" "$flash"
source "$here/sim_port.sh"
# The program's texts as the operators read them: a Ukrainian user interface, which Wine
# takes from the locale it is started in.
export LC_ALL=uk_UA.UTF-8

work=$(mktemp -d)
sim_pid=
port_number=152
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -f "$prefix/dosdevices/com$port_number"
  rm -rf "$work"
}
trap cleanup EXIT

# The identification takes about 4 s (the wake-ups, ten attempts and the deadlines of
# their replies); Wine's start and a busy machine may add several more. A run past the
# hard limit is stopped, so that a wait without end fails the test instead of hanging it.
limit=30
hard_limit=120

# Starts a device with `options` behind COM$port_number.
plug_in() {
  [ -z "$sim_pid" ] || unplug
  "$sim" --baud 0 "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  local pty
  pty=$(sim_port "$work/sim.out")
  [ -n "$pty" ] || { echo "zorvan-sim did not start:"; cat "$work/sim.err"; exit 1; }
  ln -sfn "$pty" "$prefix/dosdevices/com$port_number"
}
unplug() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
}

# Runs zorvan-flash.exe with `args` and expects exit status `status` and a line of output
# beginning with `text`, within the limit.
expect() {
  local status=$1 text=$2 started elapsed got=0
  shift 2
  echo "== zorvan-flash.exe $*"
  started=$(date +%s.%N)
  timeout -k 10 "$hard_limit" "$here/wine_run.sh" "$flash" "$@" >"$work/out" 2>&1 || got=$?
  elapsed=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
  sed 's/^/   /' "$work/out"
  echo "   exit status $got after $elapsed s"
  [ "$got" -eq "$status" ] || { echo "FAILED: exit status $got, not $status"; exit 1; }
  grep -q "^$text" "$work/out" || { echo "FAILED: no line begins with '$text'"; exit 1; }
  awk -v e="$elapsed" -v l="$limit" 'BEGIN { exit !(e < l) }' ||
    { echo "FAILED: it took $elapsed s, more than $limit s"; exit 1; }
}

"$here/wine_run.sh" cmd /c exit 0
port=COM$port_number
not_found="Не визначино, для усунення причин:"
read_error="Помилка читання з порта"

echo "-- a device that reads every frame and answers none"
plug_in --silent-after 0
expect 4 "$not_found" detect --port "$port"
expect 4 "$not_found" write --port "$port"

echo "-- a device whose answers come after the identification is over"
plug_in --answer-ms 8000
expect 4 "$not_found" detect --port "$port"

echo "-- a device that hangs up while its reply is awaited"
plug_in --silent-after 0 --hangup-after 1
expect 3 "$read_error" detect --port "$port"
unplug

echo "Every wait ended at its deadline, and the device that hung up was a port error."
