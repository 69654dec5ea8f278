#!/usr/bin/env bash
# The Windows window's figures, under Wine on a virtual X server, in one session:
# - a whole run of the carried firmware (128 KiB at 115200 bit/s into a simulated device
#   with a real device's latencies) through the window, beside zorvan-flash.exe doing the
#   same, and their ratio (the window should add nothing);
# - the start-up, from the program's start until its main window is on the screen, which
#   it is once its creation handler has prepared the image and the label reads
#   "Мікропрограма готова до запису": the Windows window under Wine and the Qt window on
#   Linux, the best of three starts each;
# - the size of zorvan-flasher.exe.
#   bench/wine_window_bench.sh [BUILD_WIN_DIR [BUILD_DIR]]
# Each write run takes about 46 s.
set -euo pipefail

win=$(cd "${1:-build-win}" && pwd)
linux=$(cd "${2:-build}" && pwd)
exe=$win/zorvan-flasher.exe
flash=$win/zorvan-flash.exe
probe_exe=$win/zorvan-window-probe.exe
sim=$linux/zorvan-sim
qt_window=$linux/zorvan-flasher
prefix=${ZORVAN_WINEPREFIX_WINDOW:-$win/wine-prefix-window}
for file in "$exe" "$flash" "$probe_exe" "$sim"; do
  [ -e "$file" ] || { echo "No $file: build both trees first (./run build)."; exit 1; }
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (./run installs it)."; exit 1; }
done
source "$(dirname "$0")/../tests/wine_window_session.sh"

now_ms() { date +%s%3N; }
# Also starts Wine's server, which outlives each program by ten seconds: the starts
# timed follow each other closely, so none pays for booting it.
prepare_prefix

# Starts `command`, and prints the milliseconds until its main window is on the screen;
# the window is $main afterwards, the program $app_pid.
time_start_up() {
  local start limit
  start=$(now_ms)
  "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  limit=$((start + 120000))
  until has_window "^Zorvan Bootloader"; do
    [ "$(now_ms)" -lt "$limit" ] || fail "no main window appeared"
    sleep 0.02
  done
  echo $(($(now_ms) - start))
  main=$(visible_window "^Zorvan Bootloader")
}
best_of() { printf '%s\n' "$@" | sort -n | head -n 1; }

echo "== start-up until \"Мікропрограма готова до запису\""
start_device
link_port COM150
win32_starts=()
for _ in 1 2 3; do
  time_start_up env WINEPREFIX="$prefix" WINEDEBUG=-all wine "$exe" COM150 >"$work/ms"
  win32_starts+=("$(cat "$work/ms")")
  expect_text LabelNameOfHex 10 "Мікропрограма готова до запису" >/dev/null
  close_window
done
echo "   Windows window under Wine: ${win32_starts[*]} ms"
qt_starts=()
if [ -x "$qt_window" ]; then
  for _ in 1 2 3; do
    time_start_up env QT_QPA_PLATFORM=xcb "$qt_window" "$pty" >"$work/ms"
    qt_starts+=("$(cat "$work/ms")")
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid=
  done
  echo "   Qt window on Linux: ${qt_starts[*]} ms"
fi

echo "== the carried firmware written, 128 KiB at 115200 bit/s, a real device's latencies"
start_device --realistic --verify -
link_port COM150
time_start_up env WINEPREFIX="$prefix" WINEDEBUG=-all wine "$exe" COM150 >/dev/null
expect_text LabelNameOfHex 10 "Мікропрограма готова до запису" >/dev/null
# The probe is waiting before the click, so that its own start is not timed.
probe message 600 >"$work/box" &
probe_pid=$!
sleep 3
clicked=$(now_ms)
click ButtonWrite
wait "$probe_pid" || fail "no message box at the end of the run"
window_ms=$(($(now_ms) - clicked))
grep -q "Мікропрограма успішно завантажена в " "$work/box" || fail "the run ended with: $(cat "$work/box")"
close_box "$(cat "$work/box")"
window_pauses=$(probe text Label3)
close_window
stop_device >/dev/null
echo "   the window, from the click to the success message: $window_ms ms ($window_pauses)"

start_device --realistic --verify -
link_port COM150
WINEPREFIX=$prefix WINEDEBUG=-all wine "$flash" write --port COM150 --record 'Z:'"${work//\//\\}"'\runs.jsonl' \
  >"$work/flash.out" 2>&1 || { cat "$work/flash.out"; fail "zorvan-flash.exe write failed"; }
stop_device >/dev/null
read -r flash_ms flash_pauses < <(python3 -c '
import json, sys
run = json.loads(open(sys.argv[1]).readline())
p = run["final_pauses"]
print(round(run["seconds"] * 1000), "Автокалібровка: %d.%d.%d" % (p["erase"], p["write"], p["commit"]))
' "$work/runs.jsonl")
echo "   zorvan-flash.exe, its run as its record times it: $flash_ms ms ($flash_pauses)"

echo
echo "Windows window / zorvan-flash.exe, a whole run under Wine: $(python3 -c "print(f'{$window_ms / $flash_ms:.3f}')")x (goal: at most 1.03x)"
start_ups="Windows window under Wine $(best_of "${win32_starts[@]}") ms"
[ ${#qt_starts[@]} -eq 0 ] || start_ups+=", Qt window on Linux $(best_of "${qt_starts[@]}") ms"
echo "Start-up until ready (best of three): $start_ups"
echo "zorvan-flasher.exe: $(stat -c %s "$exe") bytes"
