#!/usr/bin/env bash
# The Debian package as an operator meets it:
#   debian_package_test.sh BUILD_DIR VERSION
# makes the package from the build with CPack, has lintian check it (errors fail the
# test; warnings are shown), installs it with apt-get, runs the installed programs (their
# versions, `zorvan-flash check`, `zorvan-flash write` into the installed zorvan-sim, which
# then compares its flash with the carried firmware, and the window, seen ready to write
# through the desktop's accessibility service on a virtual X server), then purges it and
# checks that nothing it installed is left behind.
# The package is installed system-wide, so only root runs this, and one such run at a
# time on the machine (a lock in /run/lock); the package is purged however the test ends.
# Exits 77 (skipped) when not root, when a tool is missing, or when the machine already
# has the package installed (this test would replace and remove it).
set -euo pipefail

build=$(cd "$1" && pwd)
version=$2
here=$(cd "$(dirname "$0")" && pwd)
package=zorvan-flasher
title="Zorvan Bootloader (від 13.03.26)"
ready="Мікропрограма готова до запису"
write_button="Прошити"

skip() { echo "Skipped: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "installing a package system-wide needs root"
for tool in cpack lintian apt-get Xvfb dbus-run-session; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (./run installs it)"
done
# Debian's own Python, which has the AT-SPI binding Debian's packages install.
python=/usr/bin/python3
"$python" -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  skip "AT-SPI's binding for Debian's Python is missing (./run installs gir1.2-atspi-2.0)"

work=$(mktemp -d)
# apt reads the package as its own unprivileged user.
chmod 755 "$work"
installed=no
sim_pid=
xvfb_pid=
cleanup() {
  [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  if [ "$installed" = yes ]; then
    apt_get purge "$package" >/dev/null 2>&1 || echo "The package could not be purged: dpkg --purge $package"
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The package manager may be busy with another developer's install: wait for its lock.
apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=600 "$@"
}

echo "== the package, made from $build"
# Making and checking the package is the work of a build: it yields to the tests beside
# it that talk to simulated devices under millisecond time-outs (nice).
(cd "$build" && nice cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/${package}_"$version"-*_*.deb)
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Depends\):/   &/p'

echo "== lintian"
lintian_status=0
# As a user without privileges, as lintian asks.
runuser -u nobody -- env HOME="$work" nice lintian --fail-on error --tag-display-limit 0 "$deb" \
  >"$work/lintian.log" 2>&1 || lintian_status=$?
sed 's/^/   /' "$work/lintian.log"
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

exec 9>/run/lock/zorvan-flasher-package-test.lock
flock -w 1200 9 || fail "another run of this test held the machine's package lock for 20 minutes"
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
  skip "$package is installed on this machine; this test would replace it and then purge it"
fi

echo "== apt-get install ./$(basename "$deb")"
installed=yes
apt_get install "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }
dpkg-query -L "$package" >"$work/files"
for path in /usr/bin/zorvan-flasher /usr/bin/zorvan-flash /usr/bin/zorvan-sim \
            /usr/share/applications/zorvan-flasher.desktop \
            /usr/share/icons/hicolor/scalable/apps/zorvan-flasher.svg \
            /usr/share/icons/hicolor/48x48/apps/zorvan-flasher.png \
            /usr/share/man/man1/zorvan-flash.1.gz /usr/share/man/man1/zorvan-sim.1.gz \
            /usr/share/man/uk/man1/zorvan-flash.1.gz \
            /usr/lib/udev/rules.d/70-zorvan-adapters.rules \
            /usr/share/doc/$package/README.md.gz /usr/share/doc/$package/copyright; do
  [ -e "$path" ] || fail "the package did not install $path"
done

echo "== the installed programs"
for program in zorvan-flash zorvan-sim; do
  shown=$("/usr/bin/$program" --version)
  [ "$shown" = "$program $version" ] || fail "$program --version printed '$shown', not '$program $version'"
  echo "   $shown"
done
/usr/bin/zorvan-flash check >"$work/check.out" 2>&1 || { cat "$work/check.out"; fail "zorvan-flash check"; }
echo "   zorvan-flash check: $(tail -n 1 "$work/check.out")"

/usr/bin/zorvan-sim --baud 0 --verify - >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
source "$here/sim_port.sh"
port=$(sim_port "$work/sim.out")
[ -n "$port" ] || { cat "$work/sim.err"; fail "the installed zorvan-sim did not start"; }
timeout 600 /usr/bin/zorvan-flash write --port "$port" >"$work/write.out" 2>&1 ||
  { cat "$work/write.out"; fail "zorvan-flash write into the installed zorvan-sim"; }
kill -TERM "$sim_pid"
sim_status=0
wait "$sim_pid" || sim_status=$?
sim_pid=
[ "$sim_status" -eq 0 ] || { cat "$work/sim.out" "$work/sim.err"; fail "zorvan-sim's flash does not hold the carried firmware"; }
echo "   zorvan-flash write: $(tail -n 1 "$work/sim.out" | sed 's/^zorvan-sim: //')"

source "$here/xvfb_display.sh"
start_xvfb
window_status=0
dbus-run-session -- \
  "$python" "$here/window_ready_test.py" /usr/bin/zorvan-flasher "$title" "$ready" "$write_button" \
  >"$work/window.out" 2>&1 </dev/null || window_status=$?
sed -n 's/^Ready/   &/p' "$work/window.out"
[ "$window_status" -eq 0 ] || { cat "$work/window.out"; fail "the installed window was not seen ready"; }

echo "== apt-get purge $package"
apt_get purge "$package" >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; fail "apt-get purge"; }
installed=no
! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || fail "$package is still installed"
# dpkg keeps a folder that another package owns or that still holds something; any
# other path the package installed must be gone.
left=()
while read -r path; do
  [ "$path" = /. ] && continue
  if [ -d "$path" ] && [ ! -L "$path" ]; then
    if [ -z "$(ls -A "$path")" ] && ! dpkg-query -S "$path" >/dev/null 2>&1; then left+=("$path/"); fi
  elif [ -e "$path" ] || [ -L "$path" ]; then
    left+=("$path")
  fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left behind after the purge: ${left[*]}"
echo "   nothing of the $(wc -l <"$work/files") paths it installed is left"
echo "The package passed."
