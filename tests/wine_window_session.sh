# The Windows window's session under Wine on a virtual X server, for the window's test
# and its benchmark (sourced, not run): a display of its own, the window's Wine prefix,
# simulated devices on COM ports, the probe that reads the window, and the operator's
# hand (xdotool). Everything it starts ends with the script that sourced it.
#
# Before sourcing, set: probe_exe (zorvan-window-probe.exe), sim (the Linux build's
# zorvan-sim), prefix (the Wine prefix) and, to photograph, shots (their folder). A test
# whose tools are missing is skipped (exit status 77) with the reason. The window runs
# in a Wine prefix of its own: Wine ties a prefix's desktop to the display of the program
# that started it, and the console tests share the other prefix without any display.

# A window test that takes the usual arguments (ZORVAN_FLASHER_EXE WINDOW_PROBE_EXE
# ZORVAN_SIM [SCREENSHOT_DIR]) passes them on and sets instead window_test_prefix, the name
# of its own prefix: Wine ties a prefix's desktop to one display, and the window's tests
# may run at the same time on others.
if [ -n "${window_test_prefix:-}" ]; then
  exe=$1
  probe_exe=$2
  sim=$3
  build=$(cd "$(dirname "$exe")" && pwd)
  shots=${4:-$build/screenshots}
  prefix=$build/wine-prefix-window-$window_test_prefix
fi

skip() { echo "Skipped: $*"; exit 77; }
for tool in Xvfb xdotool xwdtopnm pnmcut pnmtopng pnmtoplainpnm; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
[ -x "$sim" ] || skip "no zorvan-sim at $sim (build the Linux tree first)"
[ -z "${shots:-}" ] || mkdir -p "$shots"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ZORVAN_WINEPREFIX=$prefix
# Wine reads the command line's texts in the locale's encoding.
export LC_ALL=C.UTF-8

work=$(mktemp -d)
xvfb_pid=
app_pid=
sim_pid=
linked_ports=()
end_session() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  # This prefix's server, which would otherwise outlive the display it serves.
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  local port
  for port in "${linked_ports[@]}"; do rm -f "$prefix/dosdevices/$port"; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap end_session EXIT

# A failure leaves the whole screen as it was beside the other photographs, so that a
# box nobody expected, or a window that stopped drawing, can be seen afterwards.
fail() {
  echo "FAILED: $*"
  [ -s "$work/app.log" ] && cat "$work/app.log"
  declare -F photograph_area >/dev/null && [ -n "${shots:-}" ] &&
    photograph_area 0 0 "$screen_width" "$screen_height" "failure-$(basename "$0" .sh)" 2>/dev/null || true
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
source "$here/xvfb_display.sh"
source "$here/sim_port.sh"
start_xvfb "${screen_width}x${screen_height}" -fbdir "$work/screen"
export ZORVAN_WINE_DISPLAY=$DISPLAY

# For the tests, into the folder $shots: the screen around an area (left top width
# height), as PNG, with the mouse pointer out of the way unless told to keep it.
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
# The X window `window`, with a margin of the screen around it.
photograph() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  photograph_area "$X" "$Y" "$WIDTH" "$HEIGHT" "$2" "${3:-}"
}

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

# Runs Wine's server for the prefix (making the prefix on first use) and readies it for
# the window: without a window manager Wine draws the windows' frames and title bars
# itself, as Windows does, when told not to leave them to one, and takes the caption
# buttons' glyphs from the Marlett font.
prepare_prefix() {
  "$here/wine_run.sh" cmd /c reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
  fi
}

# Starts a simulated device with `options`; its port's path is in $pty.
start_device() {
  [ -z "$sim_pid" ] || stop_device
  "$sim" "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  pty=$(sim_port "$work/sim.out")
  [ -n "$pty" ] || { cat "$work/sim.err"; fail "zorvan-sim did not start"; }
}
# Stops the device; fails unless it ended well (its flash as --verify asked, if it did).
stop_device() {
  local status=0
  kill -TERM "$sim_pid"
  wait "$sim_pid" || status=$?
  sim_pid=
  cat "$work/sim.err"
  [ "$status" -eq 0 ] || fail "zorvan-sim exited with $status"
}
# Makes the COM port `name` (COM150) lead to the device.
link_port() {
  ln -sfn "$pty" "$prefix/dosdevices/${1,,}"
  linked_ports+=("${1,,}")
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
# The X window of the box or dialog titled `title` that is not the main window $main.
box_window() {
  local pattern
  pattern=$(sed 's/[][().*+?^$|\\]/\\&/g' <<<"$1")
  xdotool search --onlyvisible --name "^$pattern\$" 2>/dev/null | { grep -vx "${main:-}" || true; } | head -n 1
}
box_on_screen() { [ -n "$(box_window "$1")" ]; }
# Presses Return in the box `message_box` described.
close_box() {
  local title
  title=$(head -n 1 <<<"$1")
  # The window system may map the box a moment after the program shows it.
  wait_for 10 box_on_screen "$title" || fail "the box is not on the screen"
  press "$(box_window "$title")" Return
}
# Ends the window with Alt+F4 and fails unless it ends well.
close_window() {
  local status=0
  # Wine's combo box keeps every Alt key for itself, so the focus leaves the port box first.
  press "$main" Tab
  press "$main" alt+F4
  wait_for 30 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "the program did not end"
  wait "$app_pid" || status=$?
  app_pid=
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
