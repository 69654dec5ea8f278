#!/usr/bin/env bash
# The Windows window under Wine on a virtual X server, as an operator meets it.
#   wine_window_test.sh ZORVAN_FLASHER_EXE VIEWS_TESTS_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# First the views' own tests run on the display. Then zorvan-sim (the Linux build) serves
# a simulated device of 128 KiB on a pseudo-terminal, seen by Wine as COM150 and COM151;
# COM151 is registered in HARDWARE\DEVICEMAP\SERIALCOMM and COM150 is given on the
# command line. The window must start with the final title and "Мікропрограма готова до
# запису", both ports offered (the command line's first), and the write button where the
# window's description puts it; "Порт:" shows its hint; Ctrl+Shift+E opens the
# engineering view; F1 shows the help window and F1 in it hides it; a click on "Прошити"
# writes the carried firmware and ends with the success message box; Ctrl+Shift+A then
# finds the device already programmed, and "Прошити" ends that mode; "Відкрити" opens a
# HEX file in a Cyrillic folder, typed into the system's open dialog; Alt+F4 ends the
# program; the device then finds its flash equal to the carried firmware, byte for byte.
# zorvan-window-probe reads what the window shows; xdotool is the operator's hand. Each
# view is photographed as PNG into SCREENSHOT_DIR (default: screenshots beside the
# program), title bars included: without a window manager, Wine draws them as Windows
# does.
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

exe=$1
views_tests=$2
probe_exe=$3
sim=$4
build=$(cd "$(dirname "$exe")" && pwd)
shots=${5:-$build/screenshots}
prefix=${ZORVAN_WINEPREFIX_WINDOW:-$build/wine-prefix-window}

source "$(dirname "$0")/wine_window_session.sh"

# The box `message_box` described, photographed, then answered with Return.
photograph_and_close_box() {
  wait_for 10 box_on_screen "$(head -n 1 <<<"$1")" || fail "the box is not on the screen"
  # shellcheck disable=SC2046
  photograph_area $(sed -n 2p <<<"$1") "$2"
  close_box "$1"
}

echo "== the views' own tests (the first start also makes the Wine prefix)"
"$here/wine_run.sh" "$views_tests" || fail "the views' tests"
prepare_prefix

echo "== a simulated device of 128 KiB on COM150 and COM151"
start_device --verify -
link_port COM150
link_port COM151
# The HARDWARE branch of Wine's registry lives as long as Wine's server, which the window
# keeps running from now on.
"$here/wine_run.sh" cmd /c reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\ZorvanSim0' \
  /t REG_SZ /d COM151 /f >/dev/null

title="Zorvan Bootloader (від 13.03.26)"
echo "== zorvan-flasher.exe COM150"
"$here/wine_run.sh" "$exe" COM150 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 120 has_window "^Zorvan Bootloader" || fail "no main window appeared"
main=$(visible_window "^Zorvan Bootloader")
[ "$(xdotool getwindowname "$main")" = "$title" ] || fail "the title is '$(xdotool getwindowname "$main")'"
[ "$(probe size main)" = "329 127" ] || fail "the client area is $(probe size main), not 329 x 127"
echo "   title '$title', client area 329 x 127"
expect_text LabelNameOfHex 60 "Мікропрограма готова до запису"
expect_text cbBaudRate 5 115200
expect_text ProgressbarReadWrite 5 "0%"
mapfile -t ports < <(probe items cbPort)
[ "${ports[0]:-}" = COM150 ] || fail "the port box offers '${ports[*]}', not COM150 first"
printf '%s\n' "${ports[@]:1}" | grep -qx COM151 || fail "the port box does not offer the registered COM151"
echo "   ports: ${ports[*]}"
write_bounds=$(probe bounds ButtonWrite | head -n 1)
# On its panel at 7, 8: 161, 6, 96 x 60.
[ "$write_bounds" = "168 14 96 60" ] || fail "the write button lies at $write_bounds"
echo "   the write button at $write_bounds"
photograph "$main" main-normal

echo "== the hint of \"Порт:\""
# shellcheck disable=SC2046
xdotool mousemove $(probe bounds Label1 | sed -n 2p) sleep 0.3 mousemove_relative 1 1
hint=$(probe tooltip 20) || fail "no hint on \"Порт:\""
[ "$hint" = "Запустити диспетчер пристроїв" ] || fail "the hint reads '$hint'"
echo "   $hint"
photograph "$main" main-hint keep-pointer

echo "== Ctrl+Shift+E: the engineering view"
press "$main" ctrl+shift+e
grows() { [ "$(probe size main)" != "329 127" ]; }
wait_for 20 grows || fail "Ctrl+Shift+E left the window at 329 x 127"
read -r width height < <(probe size main)
# The outer height is 340; the title bar and the borders take their share of it, at
# least the designed 39 pixels.
[ "$width" = 329 ] && [ "$height" -gt 280 ] && [ "$height" -le 301 ] ||
  fail "the engineering view's client area is $width x $height"
echo "   client area $width x $height"
photograph "$main" main-engineering

echo "== F1: the help window"
press "$main" F1
wait_for 20 has_window "^Про програму$" || fail "F1 did not show the help window"
help=$(visible_window "^Про програму$")
[ "$(probe size help)" = "154 220" ] || fail "the help window's client area is $(probe size help)"
echo "   client area 154 x 220"
photograph "$help" help

echo "== F1 in the help window hides it"
press "$help" F1
wait_for 20 bash -c "! xdotool search --onlyvisible --name '^Про програму$' >/dev/null 2>&1" ||
  fail "F1 in the help window did not hide it"

echo "== Прошити: the carried firmware written into the device"
started=$SECONDS
click ButtonWrite
expect_text LabelNameOfHex 30 "Йде запис! Заборонено переривати!"
gauge_moves() { [ "$(probe text ProgressbarReadWrite)" != "0%" ]; }
wait_for 60 gauge_moves || fail "the gauge does not move"
photograph "$main" main-writing
box=$(message_box 300) || fail "no message box at the end of the run"
[ "$(head -n 1 <<<"$box")" = "$title" ] || fail "the message box is titled '$(head -n 1 <<<"$box")'"
grep -q "Мікропрограма успішно завантажена в " <<<"$box" || fail "the run ended with: $box"
echo "   the success message box after $((SECONDS - started)) s"
photograph_and_close_box "$box" message-success
status=$(probe text LabelNameOfHex)
[[ $status == "Мікропрограма : успішно завантажена в "* ]] || fail "after the run the label reads '$status'"
echo "   $status"
[ "$(probe enabled ButtonWrite)" = 0 ] || fail "the write button is enabled after the run"
photograph "$main" main-written

echo "== Ctrl+Shift+A: the automatic mode takes the device for one already programmed"
press "$main" ctrl+shift+a
expect_text LabelNameOfHex 60 "Вже прошитий, замініть. Прошито 0, збоїв 0, відмов 0"
[ "$(probe enabled cbPort)" = 0 ] && [ "$(probe enabled ButtonWrite)" = 1 ] ||
  fail "in the automatic mode the port box or the write button is not as the mode sets them"
photograph "$main" main-automatic
click ButtonWrite
expect_text LabelNameOfHex 30 "Вимкнено. Прошито 0, збоїв 0, відмов 0"

# Opens the open dialog and types PATH (a Linux path) into its file name box, then Return.
open_in_dialog() {
  click ButtonOpenHex
  local dialog dialog_title
  dialog=$(message_box 60) || fail "no open dialog"
  dialog_title=$(head -n 1 <<<"$dialog")
  echo "   the dialog '$dialog_title'"
  wait_for 10 box_on_screen "$dialog_title" || fail "the open dialog is not on the screen"
  # shellcheck disable=SC2046
  photograph_area $(sed -n 2p <<<"$dialog") open-dialog
  # The file name box has the focus as the dialog opens. xdotool types a letter the
  # keyboard's map lacks (the Cyrillic ones) by mapping it to a spare key for a moment,
  # and a busy Wine may read the map once it is restored and miss the letter: the name is
  # typed again, each time more slowly, until the box holds it.
  xdotool windowfocus --sync "$(box_window "$dialog_title")"
  sleep 0.5
  windows_path="Z:${1//\//\\}"
  holds_path() { [ "$(probe file-name)" = "$windows_path" ]; }
  for attempt in 1 2 3 4 5 6 7 8; do
    xdotool key --clearmodifiers End shift+Home Delete
    xdotool type --delay $((50 * attempt)) "$windows_path"
    wait_for 5 holds_path && break
    echo "   the box read '$(probe file-name)': typed again"
  done
  holds_path || fail "the file name box reads '$(probe file-name)', not '$windows_path'"
  xdotool key --clearmodifiers Return
}

echo "== Відкрити: a HEX file typed into the open dialog"
hex_dir="$work/Прошивки"
mkdir -p "$hex_dir"
printf ':0400000001020304F2\n:00000001FF\n' >"$hex_dir/fw.hex"
open_in_dialog "$hex_dir/fw.hex"
opened="Мікропрограма : fw.hex - відкрита. Запишіть в прилад"
expect_text LabelNameOfHex 30 "$opened"
box=$(message_box 30) || fail "no message after the file was opened"
grep -q "Мікропрограма відкрита," <<<"$box" || fail "opening the file ended with: $box"
photograph_and_close_box "$box" message-opened

echo "== Відкрити: an error page saved as firmware.hex is refused"
printf '<html><body>404 Not Found</body></html>\n' >"$work/firmware.hex"
open_in_dialog "$work/firmware.hex"
box=$(message_box 30) || fail "no message after the page was opened"
grep -q "Файл firmware.hex не містить записів Intel HEX!" <<<"$box" || fail "opening the page ended with: $box"
photograph_and_close_box "$box" message-not-hex
[ "$(probe text LabelNameOfHex)" = "$opened" ] || fail "after the refusal the label reads '$(probe text LabelNameOfHex)'"
echo "   refused; the label still reads '$opened'"

echo "== Alt+F4 ends the program"
close_window

echo "== the device's flash"
stop_device
echo "The window passed under Wine: the device holds the carried firmware, byte for byte."
