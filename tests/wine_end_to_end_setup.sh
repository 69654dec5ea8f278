# Sourced by the Windows end-to-end scripts, which run the Linux build's zorvan-sim as the
# device behind a COM port of Wine's: the prefix, the tools they need, and the port.
#   source wine_end_to_end_setup.sh ZORVAN_SIM WINDOWS_PROGRAM
# Exits with 77 (skipped), giving the reason, when a tool is missing.

sim=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ZORVAN_WINEPREFIX=${ZORVAN_WINEPREFIX:-$(cd "$(dirname "$2")" && pwd)/wine-prefix}
prefix=$ZORVAN_WINEPREFIX

skip() { echo "Skipped: $*"; exit 77; }
[ -x "$sim" ] || skip "no zorvan-sim at $sim (build the Linux tree first)"
command -v srec_cat >/dev/null || skip "srec_cat (package srecord) is not installed"

windows_path() { echo "Z:${1//\//\\}"; }

# Makes COM<number> of the prefix lead to `path` (a terminal, or a link to one). Wine is
# run once first, so that the prefix exists before a port is added to it.
add_com_port() {
  "$here/wine_run.sh" cmd /c exit 0
  ln -sfn "$2" "$prefix/dosdevices/com$1"
}
