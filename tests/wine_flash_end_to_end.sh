#!/usr/bin/env bash
# The Windows flasher end to end under Wine: zorvan-sim (the Linux build) serves a
# simulated device on a pseudo-terminal; Wine sees it as a COM port registered under
# HARDWARE\DEVICEMAP\SERIALCOMM; zorvan-flash.exe lists it and programs it; the simulator
# then compares its flash with the HEX file byte for byte.
#   wine_flash_end_to_end.sh ZORVAN_SIM ZORVAN_FLASH_EXE
# Exit status 77 (skipped) when a tool it needs is missing, with the reason.
set -euo pipefail

flash=$2
source "$(dirname "$0")/wine_end_to_end_setup.sh" "$1" "$flash"

work=$(mktemp -d)
sim_pid=
port_number=150
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -f "$prefix/dosdevices/com$port_number"
  rm -rf "$work"
}
trap cleanup EXIT

# A device of two 1 KiB blocks and a HEX file that fills it exactly.
srec_cat -generate 0 0x800 -repeat-string "Zorvan flasher under Wine. " -o "$work/firmware.hex" -intel
"$sim" --geometry 16,64,2 --verify "$work/firmware.hex" >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
source "$here/sim_port.sh"
pty=$(sim_port "$work/sim.out")
[ -n "$pty" ] || { echo "zorvan-sim did not start:"; cat "$work/sim.err"; exit 1; }

add_com_port "$port_number" "$pty"
port=COM$port_number

echo "== $port (on $pty) registered, then listed by zorvan-flash.exe ports"
# One Wine session for both: the HARDWARE branch of Wine's registry lives only as long
# as Wine's server does.
"$here/wine_run.sh" cmd /c reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\ZorvanSim0' \
  /t REG_SZ /d "$port" /f '&' "$(windows_path "$(realpath "$flash")")" ports | tee "$work/ports.out"
grep -q "^$port " "$work/ports.out" || { echo "FAILED: $port is not listed"; exit 1; }

# The command line speaks the user's interface language: English in an English one,
# Ukrainian otherwise (Wine takes it from the locale it is started in).
echo "== zorvan-flash.exe check, in a Ukrainian and in an English user interface"
for locale in uk_UA.UTF-8 en_US.UTF-8; do
  said=$(LC_ALL=$locale "$here/wine_run.sh" "$flash" check --quiet | tr -d '\r')
  echo "   $locale: $said"
  case $locale:$said in
    uk_UA.UTF-8:"Образ готовий: 75348 байт з вбудованої мікропрограми, діапазонів адрес: 4") ;;
    en_US.UTF-8:"Image ready: 75348 bytes from the carried firmware, address ranges: 4") ;;
    *) echo "FAILED: zorvan-flash.exe check under LC_ALL=$locale"; exit 1 ;;
  esac
done

echo "== zorvan-flash.exe write --port $port"
"$here/wine_run.sh" "$flash" write --port "$port" --hex "$(windows_path "$work/firmware.hex")"

echo "== the device's flash"
kill -TERM "$sim_pid"
status=0
wait "$sim_pid" || status=$?
sim_pid=
cat "$work/sim.err"
if [ "$status" -ne 0 ]; then
  echo "FAILED: zorvan-sim exited with $status"
  exit 1
fi
echo "The device's flash holds the HEX file, byte for byte."
