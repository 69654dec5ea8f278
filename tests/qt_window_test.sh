#!/usr/bin/env bash
# Runs a test of the Qt window on a virtual X server of its own, with the desktop's
# accessibility service in a D-Bus session of its own, and photographs into SCREENSHOTS.
#   qt_window_test.sh TEST_SCRIPT ZORVAN_FLASHER ZORVAN_SIM SCREENSHOTS
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

script=$1 flasher=$2 sim=$3 shots=$4
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "Skipped: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in Xvfb xdotool dbus-run-session xwdtopnm pnmtopng; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
# Debian's own Python, which has the AT-SPI binding Debian's packages install.
python=/usr/bin/python3
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  skip "AT-SPI's binding for Debian's Python is missing (./run installs gir1.2-atspi-2.0)"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/screen"
source "$here/xvfb_display.sh"
start_xvfb 1024x768 -fbdir "$work/screen"
export ZORVAN_XVFB_FRAMEBUFFER=$work/screen
dbus-run-session -- "$python" "$script" "$flasher" "$sim" "$work" "$shots" </dev/null
