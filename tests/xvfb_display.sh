# Sourced by tests that need an X display of their own. start_xvfb starts a virtual X
# server on a free display (Xvfb picks the number and writes it to descriptor 3, so tests
# running side by side never share one), exports DISPLAY, and sets xvfb_pid for the
# caller's clean-up. It uses the caller's folder $work and its function fail.
#
# -noreset: an X server starts afresh whenever its last client leaves, and a client that
# comes meanwhile is turned away. The desktop's accessibility service connects for a
# moment to post its address on the root window and leaves; a window started just then
# ended with "could not connect to display".
#   start_xvfb [WIDTHxHEIGHT [XVFB_OPTION...]]     (800x600 unless told)
start_xvfb() {
  local size=${1:-800x600}
  [ $# -gt 0 ] && shift
  Xvfb -displayfd 3 -screen 0 "${size}x24" "$@" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
  DISPLAY=:$(head -n 1 "$work/display")
  export DISPLAY
}
