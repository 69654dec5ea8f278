#!/usr/bin/env bash
# The Windows window under Wine after the line fails, driven by the mouse and the keys.
#   wine_window_port_error_test.sh ZORVAN_FLASHER_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# COM150 leads to an adapter's stable path, at which zorvan-sim (the Linux build) serves
# a device that hangs up in the middle of a write. The error's box must tell the operator
# to check the line and press again; once it is closed, the label names the error, the
# write button and the port box are enabled and the gauge reads 0%. A fresh device then
# answers at the same path, and the next click on "Прошити" must program it, byte for
# byte, with the success box coming as soon as the device has been reset, though the
# device takes the characters far faster than the line's rate says. The same for
# "Визначити" in the engineering view. Exit status 77 (skipped) when a tool is missing.
set -euo pipefail

window_test_prefix=errors
source "$(dirname "$0")/wine_window_session.sh" "$@"

adapter=$work/adapter
# Starts a device at the adapter's path; the one before must have gone.
plug_in() {
  start_device --baud 0 --link "$adapter" "$@"
}
# Waits until the device that hung up has ended.
device_gone() {
  wait_for 30 bash -c "! kill -0 $sim_pid 2>/dev/null" || fail "the hung-up device did not end"
  wait "$sim_pid" || true
  sim_pid=
}
# The port error's box: its first line the port's error, then the line `again`;
# photographed as `name`, then closed.
expect_error_box() {
  local box text
  box=$(message_box 120) || fail "no box after the hang-up"
  text=$(tail -n +3 <<<"$box")
  grep -qxE "Помилка читання з порта|Помилка запису в порт\." <<<"$text" &&
    grep -qxF "$1" <<<"$text" || fail "the port error's box reads: $text"
  echo "   the box: $(paste -sd '/' <<<"$text")"
  wait_for 10 box_on_screen "$(head -n 1 <<<"$box")" || fail "the box is not on the screen"
  photograph "$(box_window "$(head -n 1 <<<"$box")")" "$2"
  close_box "$box"
}
# The window usable again: the label begins with `head`, `button` and the port box are
# enabled, the gauge is empty.
expect_usable() {
  local status
  status=$(probe text LabelNameOfHex)
  [[ $status == "$1"* ]] || fail "after the port error the label reads '$status'"
  echo "   the label: $status"
  [ "$(probe enabled "$2")" = 1 ] || fail "$2 is disabled after the port error"
  [ "$(probe enabled cbPort)" = 1 ] || fail "the port box is disabled after the port error"
  [ "$(probe text ProgressbarReadWrite)" = "0%" ] || fail "the gauge reads $(probe text ProgressbarReadWrite)"
}

echo "== a device behind COM150 that hangs up in the middle of a run"
"$here/wine_run.sh" cmd /c exit 0
prepare_prefix
plug_in --hangup-after 60
ln -sfn "$adapter" "$prefix/dosdevices/com150"
linked_ports+=(com150)
"$here/wine_run.sh" "$exe" COM150 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 120 has_window "^Zorvan Bootloader" || fail "no main window appeared"
main=$(visible_window "^Zorvan Bootloader")
expect_text LabelNameOfHex 60 "Мікропрограма готова до запису"

echo "== Прошити"
click ButtonWrite
expect_error_box "Перевірте з'єднання з приладом і натисніть «Прошити» ще раз!" win32-port-error-box
expect_usable "Запис не завершено. Помилка " ButtonWrite
photograph "$main" win32-after-port-error
device_gone

echo "== a fresh device at the same path; Прошити again"
plug_in --verify - --print-resets
# The box is watched for beside the device's resets; each notes when it was seen.
(probe message 300 >"$work/box" && date +%s.%N >"$work/box_at") &
watcher=$!
click ButtonWrite
reset_at=
for _ in $(seq 6000); do
  if [ -z "$reset_at" ] && [ "$(grep -cx reset "$work/sim.out")" -ge 2 ]; then reset_at=$(date +%s.%N); fi
  [ -s "$work/box_at" ] && break
  sleep 0.05
done
wait "$watcher" || fail "no box after the second click"
box=$(cat "$work/box")
grep -q "Мікропрограма успішно завантажена в " <<<"$box" || fail "the second run ended with: $box"
[ -n "$reset_at" ] || fail "the box came before the device was reset"
delay=$(awk -v box="$(cat "$work/box_at")" -v reset="$reset_at" 'BEGIN { printf "%.2f", box - reset }')
echo "   the success box $delay s after the device's reset"
# Reckoned from the line rate, the result would come about 20 s after the reset.
awk -v d="$delay" 'BEGIN { exit !(d < 3) }' || fail "the success box came $delay s after the device's reset"
close_box "$box"
stop_device

echo "== Ctrl+Shift+E, Визначити; the device hangs up after identifying itself"
press "$main" ctrl+shift+e
grows() { [ "$(probe size main)" != "329 127" ]; }
wait_for 20 grows || fail "Ctrl+Shift+E left the window at 329 x 127"
plug_in --hangup-after 1
click ButtonConect
expect_error_box "Перевірте з'єднання з приладом і натисніть «Визначити» ще раз!" win32-detect-port-error-box
expect_usable "Прилад не визначено. Помилка " ButtonConect
photograph "$main" win32-detect-after-port-error
device_gone

echo "== a fresh device; Визначити again"
plug_in
click ButtonConect
box=$(message_box 60) || fail "no box after the second detect"
grep -q "^Визначино:" <<<"$box" || fail "the detect ended with: $box"
close_box "$box"
box=$(message_box 60) || fail "no second box after the detect"
close_box "$box"
expect_text LabelNameOfHex 30 "Відкрийте мікропрограму з розширенням - HEX"

close_window
stop_device
echo "The window passed under Wine: usable after each port error, and the device plugged back in was programmed."
