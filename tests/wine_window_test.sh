#!/usr/bin/env bash
# The Windows window under Wine on a virtual X server: zorvan-flasher.exe starts with a
# port name on its command line; its main window carries the final title and the
# designed client size; Ctrl+Shift+E, seen by the window before its focused control,
# enlarges it to the engineering view; F1 shows the help window at its designed size
# and F1 in it hides it again; Alt+F4 ends the program. Each view is photographed.
#   wine_window_test.sh ZORVAN_FLASHER_EXE [VIEWS_TESTS_EXE [SCREENSHOT_DIR]]
# VIEWS_TESTS_EXE, the views' own tests, runs first on the same display. Screenshots go
# to SCREENSHOT_DIR (default: screenshots beside the program) as PNG.
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
#
# The window runs in a Wine prefix of its own (wine-prefix-window beside the program):
# Wine ties a prefix's desktop to the display of the program that started it, and the
# console tests share the other prefix without any display.
set -euo pipefail

exe=$1
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$exe")" && pwd)
views_tests=${2:-}
shots=${3:-$build/screenshots}
export ZORVAN_WINEPREFIX=${ZORVAN_WINEPREFIX_WINDOW:-$build/wine-prefix-window}

skip() { echo "Skipped: $*"; exit 77; }
for tool in Xvfb xdotool xwd xwdtopnm pnmcut pnmtopng; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
mkdir -p "$shots"

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  # This prefix's server, which would otherwise outlive the display it serves.
  WINEPREFIX=$ZORVAN_WINEPREFIX wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAILED: $*"; exit 1; }

# A display of its own: Xvfb picks a free number and writes it to descriptor 3.
screen_width=800
screen_height=600
Xvfb -displayfd 3 -screen 0 ${screen_width}x${screen_height}x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
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
  for _ in $(seq $((limit * 4))); do
    "$@" && return 0
    sleep 0.25
  done
  return 1
}
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(visible_window "$1")" ]; }
size_of() { xdotool getwindowgeometry "$1" | sed -n 's/ *Geometry: //p'; }
size_is() { [ "$(size_of "$1")" = "$2" ]; }
size_is_not() { [ "$(size_of "$1")" != "$2" ]; }
# The whole screen, cut to the region around a window, as PNG.
photograph() {
  local window=$1 name=$2 x y
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x=$((X > 40 ? X - 40 : 0))
  y=$((Y > 40 ? Y - 40 : 0))
  xwd -root -silent | xwdtopnm 2>/dev/null |
    pnmcut -left "$x" -top "$y" -right $((X + WIDTH + 40 < screen_width ? X + WIDTH + 40 : screen_width - 1)) \
           -bottom $((Y + HEIGHT + 40 < screen_height ? Y + HEIGHT + 40 : screen_height - 1)) |
    pnmtopng >"$shots/$name.png"
  echo "   $shots/$name.png"
}
press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.5
  xdotool key --clearmodifiers "$2"
}

if [ -n "$views_tests" ]; then
  echo "== the views' own tests (the first start also makes the Wine prefix)"
  "$here/wine_run.sh" "$views_tests" || fail "the views' tests"
fi

title="Zorvan Bootloader (від 13.03.26)"
echo "== zorvan-flasher.exe COM77 (the first start also makes the Wine prefix)"
"$here/wine_run.sh" "$exe" COM77 >"$work/app.log" 2>&1 &
app_pid=$!
wait_for 240 has_window "^Zorvan Bootloader" || { cat "$work/app.log"; fail "no main window appeared"; }
main=$(visible_window "^Zorvan Bootloader")
[ "$(xdotool getwindowname "$main")" = "$title" ] || fail "the title is '$(xdotool getwindowname "$main")'"
# Without a window manager, Wine's X window is the client area.
wait_for 10 size_is "$main" 329x127 || fail "the client area is $(size_of "$main"), not 329x127"
echo "   title '$title', client area 329x127"
sleep 1
photograph "$main" main-normal

echo "== Ctrl+Shift+E: the engineering view"
press "$main" ctrl+shift+e
wait_for 20 size_is_not "$main" 329x127 || fail "Ctrl+Shift+E left the window at 329x127"
sleep 1
read -r width height < <(size_of "$main" | tr x ' ')
# The outer height is 340; the title bar and the borders take their share of it.
[ "$width" = 329 ] && [ "$height" -gt 280 ] && [ "$height" -lt 340 ] ||
  fail "the engineering view's client area is ${width}x$height"
echo "   client area ${width}x$height"
photograph "$main" main-engineering

echo "== F1: the help window"
press "$main" F1
wait_for 20 has_window "^Про програму$" || fail "F1 did not show the help window"
help=$(visible_window "^Про програму$")
wait_for 10 size_is "$help" 154x193 || fail "the help window's client area is $(size_of "$help")"
echo "   client area 154x193"
sleep 1
photograph "$help" help

echo "== F1 in the help window hides it"
press "$help" F1
wait_for 20 bash -c "! xdotool search --onlyvisible --name '^Про програму$' >/dev/null 2>&1" ||
  fail "F1 in the help window did not hide it"

echo "== Tab, then Alt+F4 ends the program"
# Wine's combo box keeps every Alt key for itself, so the focus leaves the port box first.
press "$main" Tab
press "$main" alt+F4
status=0
wait_for 30 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not end"
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || { cat "$work/app.log"; fail "the program ended with status $status"; }
echo "The window passed under Wine."
