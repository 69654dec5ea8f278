#!/usr/bin/env bash
# The Windows window under Wine against a device that reads every frame and answers none
# (the wrong port picked, a device without power), driven by the mouse: "Прошити" in the
# operator's view and "Визначити" in the engineering view each end with the not-found box
# within the identification's own time and a few seconds, whatever Wine's serial driver
# does with the port's time-outs, and the window is usable after it.
#   wine_window_unanswered_device_test.sh ZORVAN_FLASHER_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# Exit status 77 (skipped) when a tool is missing.
set -euo pipefail

window_test_prefix=unanswered
source "$(dirname "$0")/wine_window_session.sh" "$@"

# The identification takes about 4 s; the box may come several seconds later on a busy
# machine, and the probe's own start under Wine takes a few more.
limit=30

# Clicks `button` and expects the not-found box, whose last line is `last_line`, within
# the limit; photographs it as `name` and closes it.
expect_not_found() {
  local button=$1 last_line=$2 name=$3 started box text elapsed
  started=$(date +%s.%N)
  click "$button"
  box=$(message_box 120) || fail "no box after $button"
  elapsed=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
  text=$(tail -n +3 <<<"$box")
  echo "   the box after $elapsed s: $(paste -sd '/' <<<"$text")"
  grep -qxF "Не визначино, для усунення причин:" <<<"$text" && grep -qxF -- "$last_line" <<<"$text" ||
    fail "the box after $button reads: $text"
  awk -v e="$elapsed" -v l="$limit" 'BEGIN { exit !(e < l) }' || fail "the box came after $elapsed s"
  wait_for 10 box_on_screen "$(head -n 1 <<<"$box")" || fail "the box is not on the screen"
  photograph "$(box_window "$(head -n 1 <<<"$box")")" "$name"
  close_box "$box"
}
# The window usable again: the ready label, `button` and the port box enabled, the gauge
# empty.
expect_usable() {
  expect_text LabelNameOfHex 20 "Мікропрограма готова до запису"
  [ "$(probe enabled "$1")" = 1 ] || fail "$1 is disabled after the device was not found"
  [ "$(probe enabled cbPort)" = 1 ] || fail "the port box is disabled after the device was not found"
  [ "$(probe text ProgressbarReadWrite)" = "0%" ] || fail "the gauge reads $(probe text ProgressbarReadWrite)"
}

echo "== a device behind COM153 that reads every frame and answers none"
"$here/wine_run.sh" cmd /c exit 0
prepare_prefix
start_device --baud 0 --silent-after 0
link_port COM153
"$here/wine_run.sh" "$exe" COM153 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 120 has_window "^Zorvan Bootloader" || fail "no main window appeared"
main=$(visible_window "^Zorvan Bootloader")
expect_text LabelNameOfHex 60 "Мікропрограма готова до запису"

echo "== Прошити"
expect_not_found ButtonWrite "- перевірити вибір немеру СОМ." win32-write-not-found-box
expect_usable ButtonWrite
photograph "$main" win32-after-write-not-found

echo "== Ctrl+Shift+E, Визначити"
press "$main" ctrl+shift+e
grows() { [ "$(probe size main)" != "329 127" ]; }
wait_for 20 grows || fail "Ctrl+Shift+E left the window at 329 x 127"
expect_not_found ButtonConect "- перевірити швидкість (більшість 115200)." win32-detect-not-found-box
expect_usable ButtonConect
photograph "$main" win32-after-detect-not-found

close_window
stop_device
echo "The window passed under Wine: the device that never answers was not found, in time, and the window stayed usable."
