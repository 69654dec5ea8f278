#!/usr/bin/env bash
# The Windows installer as a station's IT meets it, under Wine:
#   windows_msi_test.sh VERSION MAKE_MSI_SCRIPT -DWXS=... -DICON=... -DTEXT=... -DWINDOW=... -DCOMMAND_LINE=...
# makes the MSI of VERSION with the packaging's own script and, in a Wine prefix of its
# own (a machine never installed on), installs it silently (msiexec /i /qn): the programs
# and README.txt are in the folder the "Apps & features" entry names, the entry carries
# the version and the icon, the Start menu's shortcut starts the installed window, and
# the installed zorvan-flash.exe runs. Another build of the same version and then a newer
# version each take the installed one's place (one entry remains), the older version is
# then refused, and the entry's own uninstall (msiexec /x /qn) leaves nothing behind.
# Exits 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

version=$1
make_msi=$2
shift 2
msi_arguments=("$@")
here=$(cd "$(dirname "$0")" && pwd)
product="Zorvan Flasher"
title="Zorvan Bootloader (від 13.03.26)"

skip() { echo "Skipped: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in wine wixl Xvfb xdotool strings; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
# What the MSI is made of, to compare with what is installed.
for argument in "${msi_arguments[@]}"; do
  case "$argument" in
    -DICON=*) icon=${argument#-DICON=} ;;
    -DTEXT=*) text=${argument#-DTEXT=} ;;
    -DWINDOW=*) window_program=${argument#-DWINDOW=} ;;
    -DCOMMAND_LINE=*) command_line_program=${argument#-DCOMMAND_LINE=} ;;
  esac
done
# The command line's messages follow the locale; only their numbers are read here.
export LC_ALL=C.UTF-8

work=$(mktemp -d)
prefix=$work/prefix
xvfb_pid=
cleanup() {
  WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

make_msi_of() {
  cmake -DMSI="$1" -DVERSION="$2" "${msi_arguments[@]}" -P "$make_msi" >"$work/make.log" 2>&1 ||
    { cat "$work/make.log"; fail "the MSI of $2"; }
}
# A newer version: the patch number one higher.
IFS=. read -r major minor patch <<<"$version"
newer=$major.$minor.$((patch + 1))
echo "== the MSIs of $version (two builds) and of $newer"
make_msi_of "$work/first.msi" "$version"
make_msi_of "$work/rebuilt.msi" "$version"
make_msi_of "$work/newer.msi" "$newer"
ls -l "$work"/*.msi | awk '{ print "   " $5 " bytes  " $NF }'

# A display for the window, and the prefix's desktop with it. Wine would also copy the
# Start menu's shortcuts into this machine's own menus (winemenubuilder): not here.
source "$here/xvfb_display.sh"
start_xvfb
source "$here/wine_prefix.sh"
use_wine_prefix "$prefix"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
echo "== a Wine prefix of its own"
start_wine_server
export ZORVAN_WINEPREFIX=$prefix ZORVAN_WINE_DISPLAY=$DISPLAY
in_wine() { "$here/wine_run.sh" "$@" | tr -d '\r'; }
windows_path() { echo "Z:${1//\//\\}"; }
unix_path() { WINEPREFIX=$prefix winepath -u "$1" 2>/dev/null; }

# msiexec, silent, as IT runs it on every station: its exit status.
msiexec_quietly() {
  local status=0
  in_wine msiexec "$@" /qn >"$work/msiexec.log" 2>&1 || status=$?
  return "$status"
}
# The same, failing unless it succeeds; `what` names it.
msiexec_must() {
  local what=$1 status=0
  shift
  msiexec_quietly "$@" || status=$?
  [ "$status" -eq 0 ] || { cat "$work/msiexec.log"; fail "$what ended with status $status"; }
}

# Each subkey of the registry key `root` whose value `name_value` is the product's name:
# its key and the values named, separated by tabs.
registry_rows() {
  local root=$1 name_value=$2
  shift 2
  { in_wine reg query "$root" /s 2>/dev/null || true; } | awk -v product="$product" -v name_value="$name_value" \
    -v wanted="$*" '
    function flush(   i, n, names, row) {
      if (key != "" && values[name_value] == product) {
        n = split(wanted, names, " ")
        row = key
        for (i = 1; i <= n; i++) row = row "\t" values[names[i]]
        print row
      }
      delete values
    }
    /^HKEY_/ { flush(); key = $0; next }
    { n = split($0, field, "    "); if (n >= 3) values[field[2]] = (n >= 4 ? field[4] : "") }
    END { flush() }'
}
uninstall_entries() {
  registry_rows 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' DisplayName \
                DisplayVersion InstallLocation UninstallString
}
# The one entry of the product, with the version expected; its fields in entry_*.
expect_one_entry() {
  local entries
  entries=$(uninstall_entries)
  [ "$(grep -c . <<<"$entries")" -eq 1 ] || fail "\"Apps & features\" lists, for $product:
${entries:-nothing}"
  IFS=$'\t' read -r entry_key entry_version entry_location entry_uninstall <<<"$entries"
  [ "$entry_version" = "$1" ] || fail "the entry's version is '$entry_version', not $1"
  echo "   one entry: $product $entry_version, $entry_uninstall"
}
shortcuts() { find "$prefix/drive_c" -path "*/Start Menu/Programs/$product.lnk"; }

echo "== msiexec /i first.msi /qn"
msiexec_must "the install" /i "$(windows_path "$work/first.msi")"
expect_one_entry "$version"
[ "$entry_location" = 'C:\Program Files\Zorvan Flasher\' ] ||
  fail "the entry's folder is '$entry_location', not Program Files\\Zorvan Flasher"
folder=$(unix_path "$entry_location")
listed=$(cd "$folder" && ls | sort | tr '\n' ' ')
[ "$listed" = "README.txt zorvan-flash.exe zorvan-flasher.exe " ] || fail "the folder holds $listed"
cmp "$folder/zorvan-flasher.exe" "$window_program" && cmp "$folder/zorvan-flash.exe" "$command_line_program" &&
  cmp "$folder/README.txt" "$text" || fail "the installed files are not those of this build"
echo "   $entry_location: $listed"

# "Apps & features" takes the icon from the product's registration, which names the
# copy the installer keeps.
product_icon=$(registry_rows 'HKLM\Software\Classes\Installer\Products' ProductName ProductIcon | cut -f 2)
[ -n "$product_icon" ] || fail "the product is registered without an icon"
cmp "$(unix_path "$product_icon")" "$icon" || fail "the product's icon $product_icon is not the program's"
echo "   its icon: $product_icon"

# On Windows a per-machine shortcut goes to the Start menu of all users; Wine puts it in
# the installing user's.
mapfile -t found < <(shortcuts)
[ "${#found[@]}" -eq 1 ] || fail "the Start menu holds ${#found[@]} shortcuts '$product'"
shortcut=${found[0]}
strings -a "$shortcut" | grep -qxF 'C:\Program Files\Zorvan Flasher\zorvan-flasher.exe' ||
  fail "the shortcut does not lead to the installed zorvan-flasher.exe"
strings -a -el "$shortcut" | grep -qF "$product_icon" || fail "the shortcut does not show the product's icon"
echo "   the Start menu's '$product' starts C:\\Program Files\\Zorvan Flasher\\zorvan-flasher.exe"

echo "== the installed zorvan-flash.exe"
shown=$(in_wine 'C:\Program Files\Zorvan Flasher\zorvan-flash.exe' --version) || fail "--version ended with $?"
grep -qF "$version" <<<"$shown" || fail "zorvan-flash.exe --version printed '$shown'"
echo "   --version: $shown"
status=0
in_wine 'C:\Program Files\Zorvan Flasher\zorvan-flash.exe' ports >"$work/ports.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$work/ports.log"; fail "zorvan-flash.exe ports ended with status $status"; }
echo "   ports: exit status 0"

echo "== the window, from the Start menu's shortcut"
main_window() { xdotool search --onlyvisible --name "^Zorvan Bootloader" 2>/dev/null | head -n 1; }
in_wine start /unix "$shortcut" >"$work/start.log" 2>&1 || { cat "$work/start.log"; fail "the shortcut did not start"; }
window=
for _ in $(seq 960); do
  window=$(main_window) || true
  [ -n "$window" ] && break
  sleep 0.25
done
[ -n "$window" ] || fail "no main window showed in 4 minutes"
shown=$(xdotool getwindowname "$window")
[ "$shown" = "$title" ] || fail "the window is titled '$shown'"
# Wine gives each process the Windows path of its program as its command line.
started=$(tr '\0' ' ' <"/proc/$(xdotool getwindowpid "$window")/cmdline")
[[ $started == 'C:\Program Files\Zorvan Flasher\zorvan-flasher.exe'* ]] || fail "the window is the program '$started'"
echo "   '$shown', the program C:\Program Files\Zorvan Flasher\zorvan-flasher.exe"
# Closed, as an operator would before an update: Windows replaces a program that runs
# only after a restart.
in_wine taskkill /im zorvan-flasher.exe >/dev/null 2>&1 || fail "taskkill found no zorvan-flasher.exe"
for _ in $(seq 240); do
  [ -z "$(main_window)" ] && break
  sleep 0.25
done
[ -z "$(main_window)" ] || fail "the window did not close in a minute when asked to"

echo "== another build of $version over it"
msiexec_must "the install of the other build" /i "$(windows_path "$work/rebuilt.msi")"
expect_one_entry "$version"

echo "== $newer over it"
msiexec_must "the upgrade" /i "$(windows_path "$work/newer.msi")"
expect_one_entry "$newer"
[ "$(shortcuts | grep -c .)" -eq 1 ] || fail "the Start menu's shortcuts after the upgrade: $(shortcuts)"
[ -f "$folder/zorvan-flasher.exe" ] && [ -f "$folder/zorvan-flash.exe" ] && [ -f "$folder/README.txt" ] ||
  fail "the upgrade left the folder with $(ls "$folder" 2>/dev/null | tr '\n' ' ')"

echo "== $version is refused over it"
if msiexec_quietly /i "$(windows_path "$work/first.msi")"; then fail "the older version was installed"; fi
expect_one_entry "$newer"

echo "== the entry's uninstall, silent"
[[ $entry_uninstall =~ ^MsiExec\.exe\ /X(\{[0-9A-F-]+\})$ ]] || fail "the entry uninstalls with '$entry_uninstall'"
product_code=${BASH_REMATCH[1]}
msiexec_must "the uninstall" /x "$product_code"
[ ! -e "$folder" ] || fail "the uninstall left $folder with $(ls -A "$folder" | tr '\n' ' ')"
[ -z "$(shortcuts)" ] || fail "the uninstall left the shortcut $(shortcuts)"
[ -z "$(uninstall_entries)" ] || fail "the uninstall left the entry $(uninstall_entries)"
[ -z "$(registry_rows 'HKLM\Software\Classes\Installer\Products' ProductName ProductIcon)" ] ||
  fail "the uninstall left the product registered"
[ ! -e "$prefix/drive_c/windows/Installer/$product_code" ] || fail "the uninstall left the installer's copy of the icon"
echo "   the folder, the shortcut and the entry are gone"
echo "The MSI passed."
