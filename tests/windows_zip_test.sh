#!/usr/bin/env bash
# The Windows zip as an operator meets it:
#   windows_zip_test.sh MAKE_ZIP_SCRIPT FOLDER TEXT VERSION PROGRAM.exe...
# makes the zip of the given programs (those this cross build makes) with the packaging's
# own script, checks its list of files (FOLDER/ with each program and README.txt), unpacks
# it and starts each program from there under Wine: zorvan-flash.exe --version must show
# VERSION, and zorvan-flasher.exe must open its main window with the final title on a
# virtual X server. The script must also refuse, naming it, a program that is missing.
# Exits 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

make_zip=$1
folder=$2
text=$3
version=$4
shift 4
programs=("$@")
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "${programs[0]}")" && pwd)
title="Zorvan Bootloader (від 13.03.26)"

skip() { echo "Skipped: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
command -v wine >/dev/null || skip "wine is not installed (./run installs it)"

work=$(mktemp -d)
xvfb_pid=
window_pid=
window_prefix=$build/wine-prefix-zip-window
cleanup() {
  [ -z "$window_pid" ] || kill "$window_pid" 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    # The window's Wine server, which would otherwise outlive the display it serves.
    WINEPREFIX=$window_prefix wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

make_zip_of() {
  cmake -DZIP="$1" -DFOLDER="$folder" -DTEXT="$text" "-DPROGRAMS=$2" -P "$make_zip"
}

echo "== a program missing from the build is refused, by name"
if make_zip_of "$work/refused.zip" "${programs[0]};$build/zorvan-missing.exe" >"$work/refused.log" 2>&1; then
  fail "the zip was made without zorvan-missing.exe"
fi
grep -q "needs zorvan-missing.exe" "$work/refused.log" || { cat "$work/refused.log"; fail "the refusal does not name the program"; }
[ ! -e "$work/refused.zip" ] || fail "a refused zip was left behind"

echo "== the zip of ${programs[*]##*/}"
zip="$work/$folder-windows-x64.zip"
make_zip_of "$zip" "$(IFS=';'; echo "${programs[*]}")" >"$work/make.log" 2>&1 || { cat "$work/make.log"; fail "the zip"; }
expected=$( (echo "$folder/"; echo "$folder/README.txt"; for p in "${programs[@]}"; do echo "$folder/${p##*/}"; done) | sort)
listed=$(cmake -E tar tf "$zip" | sort)
[ "$listed" = "$expected" ] || fail "the zip holds
$listed
and not
$expected"
echo "$listed" | sed 's/^/   /'

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
unpacked=$work/unpacked/$folder

echo "== zorvan-flash.exe --version, from the unpacked zip"
# The console programs' prefix of this build, made by the first of them to run.
shown=$(ZORVAN_WINEPREFIX=$build/wine-prefix "$here/wine_run.sh" "$unpacked/zorvan-flash.exe" --version | tr -d '\r')
[ "$shown" = "zorvan-flash $version" ] || fail "zorvan-flash.exe --version printed '$shown'"
echo "   $shown"

if [ -e "$unpacked/zorvan-flasher.exe" ]; then
  echo "== zorvan-flasher.exe, from the unpacked zip, on a virtual X server"
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
  done
  source "$here/xvfb_display.sh"
  start_xvfb
  # A prefix of its own: Wine ties a prefix's desktop to the display it was started on.
  ZORVAN_WINE_DISPLAY=$DISPLAY ZORVAN_WINEPREFIX=$window_prefix \
    "$here/wine_run.sh" "$unpacked/zorvan-flasher.exe" >"$work/window.log" 2>&1 &
  window_pid=$!
  for _ in $(seq 960); do
    window=$(xdotool search --onlyvisible --name "^Zorvan Bootloader" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    kill -0 "$window_pid" 2>/dev/null || { cat "$work/window.log"; fail "zorvan-flasher.exe ended without a window"; }
    sleep 0.25
  done
  [ -n "$window" ] || { cat "$work/window.log"; fail "zorvan-flasher.exe showed no main window in 4 minutes"; }
  shown=$(xdotool getwindowname "$window")
  [ "$shown" = "$title" ] || fail "zorvan-flasher.exe's window is titled '$shown'"
  echo "   its window: '$shown'"
fi
echo "The zip passed."
