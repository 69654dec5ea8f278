#!/usr/bin/env bash
# The Windows window's automatic mode under Wine on a virtual X server, as an operator meets
# it: a fresh device on COM150 is programmed and the third look at it finds it as written;
# then the window must answer at once while the mode looks. The write button is clicked
# while the port is empty (a device that answers nothing) and while a device already
# programmed sits on it, each time at another moment of the looks, and the time from the
# click until the label reads the end is measured: zorvan-window-probe reads the label as
# the window answers it, so a window that holds its messages holds the probe too.
#   wine_window_automatic_test.sh ZORVAN_FLASHER_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

window_test_prefix=automatic
source "$(dirname "$0")/wine_window_session.sh" "$@"
prepare_prefix

# Far beyond the moment the window takes: a loaded machine must not fail the test.
answer_limit_ms=5000
now_ms() { date +%s%3N; }

# Ctrl+Shift+A, waiting until the label reads `text`.
start_mode() {
  press "$main" ctrl+shift+a
  expect_text LabelNameOfHex 120 "$1"
}

# Clicks the write button once the mode has looked for `seconds`, and prints the
# milliseconds from the click until the label began with "Вимкнено. ".
click_to_end() {
  local centre began seen probe_pid
  centre=$(probe bounds ButtonWrite | sed -n 2p)
  # shellcheck disable=SC2086
  xdotool mousemove $centre
  # Straight into the file, which the probe's first line tells has started to read.
  WINEPREFIX=$prefix WINEDEBUG=-all wine "$probe_exe" until LabelNameOfHex 60 "Вимкнено. " >"$work/until" 2>/dev/null &
  probe_pid=$!
  wait_for 60 test -s "$work/until" || fail "the probe did not start"
  sleep "$1"
  began=$(now_ms)
  xdotool click 1
  wait "$probe_pid" || fail "the label never read the end: $(sed -n 2p "$work/until")"
  seen=$(sed -n 3p "$work/until" | tr -d '\r')
  echo $((seen - began))
}

# Starts the mode `count` times on what the port holds now, finding it at `text`, and
# clicks the write button at other moments of its looks each time; prints the times.
answers() {
  local text=$1 count=$2 times=() i took
  for i in $(seq "$count"); do
    start_mode "$text" >/dev/null
    took=$(click_to_end "$(awk "BEGIN { print 1 + 0.37 * $i }")")
    [ "$took" -le "$answer_limit_ms" ] || fail "a click took $took ms to end the mode"
    times+=("$took")
  done
  local sorted
  mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
  echo "   click to the end: median ${sorted[$((count / 2))]} ms, longest ${sorted[$((count - 1))]} ms (${times[*]} ms)"
}

echo "== a fresh device on COM150"
start_device --baud 0 --verify -
link_port COM150
"$here/wine_run.sh" "$exe" COM150 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 120 has_window "^Zorvan Bootloader" || fail "no main window appeared"
main=$(visible_window "^Zorvan Bootloader")
expect_text LabelNameOfHex 60 "Мікропрограма готова до запису"
press "$main" ctrl+shift+e
grows() { [ "$(probe size main)" != "329 127" ]; }
wait_for 20 grows || fail "Ctrl+Shift+E left the window at 329 x 127"

echo "== Ctrl+Shift+A: the device programmed, then watched"
start_mode "Готово, замініть. Прошито 1, збоїв 0, відмов 0"
photograph "$main" automatic-passed
echo "   the write button, while the mode watches the device it has programmed"
echo "   $(click_to_end 2) ms from the click to the end"
status=$(probe text LabelNameOfHex)
[[ $status == "Вимкнено. Прошито 1, збоїв 0, відмов 0, "* ]] || fail "after the mode the label reads '$status'"
echo "   $status"

echo "== the write button while the mode looks at the device it has programmed"
answers "Вже прошитий, замініть. Прошито 0, збоїв 0, відмов 0" 3
stop_device

echo "== the write button while the mode looks at an empty port"
start_device --silent-after 0
link_port COM150
answers "Чекаю прилад. Прошито 0, збоїв 0, відмов 0" 5
photograph "$main" automatic-ended
close_window
stop_device
echo "The window passed under Wine: the device was programmed, and every click ended the mode at once."
