#!/usr/bin/env bash
# The Windows window under Wine on a virtual X server, as an operator meets it.
#   wine_window_test.sh ZORVAN_FLASHER_EXE VIEWS_TESTS_EXE WINDOW_PROBE_EXE ZORVAN_SIM [SCREENSHOT_DIR]
# First the views' own tests run on the display. Then zorvan-sim (the Linux build) serves
# a simulated device of 128 KiB on a pseudo-terminal, seen by Wine as COM150 and COM151;
# COM151 is registered in HARDWARE\DEVICEMAP\SERIALCOMM and COM150 is given on the
# command line. The window must start with the final title and "Мікропрограма готова до
# запису", both ports offered (the command line's first), and the write button where the
# window's description puts it; Ctrl+Shift+E opens the engineering view; F1 shows the
# help window and F1 in it hides it; a click on "Прошити" writes the carried firmware
# and ends with the success message box; "Відкрити" opens a HEX file typed into the
# system's open dialog; Alt+F4 ends the program; the device then finds its flash equal
# to the carried firmware, byte for byte. zorvan-window-probe reads what the window
# shows; xdotool is the operator's hand. Each view is photographed as PNG into
# SCREENSHOT_DIR (default: screenshots beside the program).
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
#
# The window runs in a Wine prefix of its own (wine-prefix-window beside the program):
# Wine ties a prefix's desktop to the display of the program that started it, and the
# console tests share the other prefix without any display. There is no window manager:
# Wine draws the windows' frames and title bars itself, so the photographs show them as
# an operator on Windows sees them.
set -euo pipefail

exe=$1
views_tests=$2
probe_exe=$3
sim=$4
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$exe")" && pwd)
shots=${5:-$build/screenshots}
export ZORVAN_WINEPREFIX=${ZORVAN_WINEPREFIX_WINDOW:-$build/wine-prefix-window}
prefix=$ZORVAN_WINEPREFIX
# Wine reads the command line's texts in the locale's encoding.
export LC_ALL=C.UTF-8

skip() { echo "Skipped: $*"; exit 77; }
for tool in Xvfb xdotool xwdtopnm pnmcut pnmtopng; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
[ -x "$sim" ] || skip "no zorvan-sim at $sim (build the Linux tree first)"
mkdir -p "$shots"

work=$(mktemp -d)
xvfb_pid=
app_pid=
sim_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  # This prefix's server, which would otherwise outlive the display it serves.
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  rm -f "$prefix/dosdevices/com150" "$prefix/dosdevices/com151"
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*"
  [ -s "$work/app.log" ] && cat "$work/app.log"
  exit 1
}

# A display of its own: Xvfb picks a free number and writes it to descriptor 3. Large
# enough for the help window at its designed place (616, 197). Its frame buffer is also
# a file, the screen exactly as shown: the X server's own copy of the root window leaves
# out what lies in windows with a save-under (Wine gives one to every window whose class
# saves bits: message boxes, dialogs, tooltips, drop-down lists), and shows them black.
screen_width=1920
screen_height=1080
mkdir "$work/screen"
Xvfb -displayfd 3 -screen 0 ${screen_width}x${screen_height}x24 -fbdir "$work/screen" -nolisten tcp \
  3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
export DISPLAY=:$(head -n 1 "$work/display")
export ZORVAN_WINE_DISPLAY=$DISPLAY

# Waits up to `limit` seconds until `condition` succeeds.
wait_for() {
  local limit=$1
  shift
  for _ in $(seq $((limit * 2))); do
    "$@" && return 0
    sleep 0.5
  done
  return 1
}
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(visible_window "$1")" ]; }
# Straight to Wine: the window's Wine server is running, and the probe needs no COM ports.
probe() { WINEPREFIX=$prefix WINEDEBUG=-all wine "$probe_exe" "$@" 2>/dev/null | tr -d '\r'; }
# Waits up to `limit` seconds until the main window's control reads `text`.
expect_text() {
  local control=$1 limit=$2 text=$3 seen
  seen=$(probe wait "$control" "$limit" "$text") || fail "$control reads '$seen', not '$text'"
  echo "   $control: $text"
}
# The screen around an area (left top width height), as PNG, with the mouse pointer out
# of the way unless told to keep it.
photograph_area() {
  local X=$1 Y=$2 WIDTH=$3 HEIGHT=$4 name=$5 x y
  x=$((X > 40 ? X - 40 : 0))
  y=$((Y > 40 ? Y - 40 : 0))
  [ "${6:-}" = keep-pointer ] || xdotool mousemove $((screen_width - 1)) $((screen_height - 1))
  sleep 1
  xwdtopnm "$work/screen/Xvfb_screen0" 2>/dev/null |
    pnmcut -left "$x" -top "$y" -right $((X + WIDTH + 40 < screen_width ? X + WIDTH + 40 : screen_width - 1)) \
           -bottom $((Y + HEIGHT + 40 < screen_height ? Y + HEIGHT + 40 : screen_height - 1)) |
    pnmtopng >"$shots/$name.png"
  echo "   $shots/$name.png"
}
photograph() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  photograph_area "$X" "$Y" "$WIDTH" "$HEIGHT" "$2" "${3:-}"
}
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.5
  xdotool key --clearmodifiers "$2"
}
# Clicks the middle of the main window's control, found by the probe.
click() {
  local centre
  centre=$(probe bounds "$1" | sed -n 2p)
  [ -n "$centre" ] || fail "no control $1 on the screen"
  # shellcheck disable=SC2086
  xdotool mousemove $centre sleep 0.3 click 1
}
# Waits for a message box (or a dialog) and prints its title, its place and its text.
message_box() { probe message "$1"; }
# The X window of the box or dialog titled `title` that is not the main window.
box_window() {
  local pattern
  pattern=$(sed 's/[][().*+?^$|\\]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | { grep -vx "$main" || true; } | head -n 1
}
box_on_screen() { [ -n "$(box_window "$1")" ]; }
# Photographs the box `message_box` described, then presses Return in it.
answer_box() {
  local box=$1 name=$2 window
  # shellcheck disable=SC2046
  photograph_area $(sed -n 2p <<<"$box") "$name"
  # The window system may map the box a moment after the program shows it.
  wait_for 10 box_on_screen "$(head -n 1 <<<"$box")" || fail "the box is not on the screen"
  press "$(box_window "$(head -n 1 <<<"$box")")" Return
}

echo "== the views' own tests (the first start also makes the Wine prefix)"
"$here/wine_run.sh" "$views_tests" || fail "the views' tests"

echo "== a simulated device of 128 KiB on COM150 and COM151"
"$sim" --verify - >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 200); do
  [ -s "$work/sim.out" ] && break
  sleep 0.05
done
pty=$(head -n 1 "$work/sim.out")
[ -n "$pty" ] || { cat "$work/sim.err"; fail "zorvan-sim did not start"; }
ln -sfn "$pty" "$prefix/dosdevices/com150"
ln -sfn "$pty" "$prefix/dosdevices/com151"
# The HARDWARE branch of Wine's registry lives as long as Wine's server, which the views'
# tests left running and the window keeps running. Without a window manager Wine draws
# the windows' frames and title bars itself, as Windows does, when told not to leave them
# to one; its caption buttons take their glyphs from the Marlett font.
"$here/wine_run.sh" cmd /c reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\ZorvanSim0' \
  /t REG_SZ /d COM151 /f '&' reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi

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
[ "$(probe size help)" = "154 193" ] || fail "the help window's client area is $(probe size help)"
echo "   client area 154 x 193"
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
answer_box "$box" message-success
status=$(probe text LabelNameOfHex)
[[ $status == "Мікропрограма : успішно завантажена в "* ]] || fail "after the run the label reads '$status'"
echo "   $status"
[ "$(probe enabled ButtonWrite)" = 0 ] || fail "the write button is enabled after the run"
photograph "$main" main-written

echo "== Відкрити: a HEX file typed into the open dialog"
hex_dir="$work/Прошивки"
mkdir -p "$hex_dir"
printf ':0400000001020304F2\n:00000001FF\n' >"$hex_dir/fw.hex"
click ButtonOpenHex
dialog=$(message_box 60) || fail "no open dialog"
dialog_title=$(head -n 1 <<<"$dialog")
echo "   the dialog '$dialog_title'"
# shellcheck disable=SC2046
photograph_area $(sed -n 2p <<<"$dialog") open-dialog
# The file name box has the focus as the dialog opens.
wait_for 10 box_on_screen "$dialog_title" || fail "the open dialog is not on the screen"
xdotool windowfocus --sync "$(box_window "$dialog_title")"
sleep 0.5
xdotool type --delay 50 "Z:${hex_dir//\//\\}\\fw.hex"
xdotool key --clearmodifiers Return
expect_text LabelNameOfHex 30 "Мікропрограма : fw.hex - відкрита. Запишіть в прилад"
box=$(message_box 30) || fail "no message after the file was opened"
grep -q "Мікропрограма відкрита," <<<"$box" || fail "opening the file ended with: $box"
answer_box "$box" message-opened

echo "== Alt+F4 ends the program"
# Wine's combo box keeps every Alt key for itself, so the focus leaves the port box first.
press "$main" Tab
press "$main" alt+F4
status=0
wait_for 30 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not end"
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"

echo "== the device's flash"
kill -TERM "$sim_pid"
status=0
wait "$sim_pid" || status=$?
sim_pid=
cat "$work/sim.err"
[ "$status" -eq 0 ] || fail "zorvan-sim exited with $status: the flash is not the carried firmware"
echo "The window passed under Wine: the device holds the carried firmware, byte for byte."
