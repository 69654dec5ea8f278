#!/usr/bin/env bash
# The set-up in ./run, as a new user meets it.
#   run_setup_test.sh SOURCE_DIR ready  on a machine with every package installed,
#                                       ./run build runs no package command
#   run_setup_test.sh SOURCE_DIR demo   a user who is not root runs ./run demo in a copy
#                                       they own, on a machine that has the demo's
#                                       packages and none of the others: the demo passes,
#                                       builds no more than zorvan-flash and zorvan-sim,
#                                       and neither runs nor prints a package command
# Package commands are replaced on PATH by stand-ins that note each call and fail, so a
# set-up that still wants to install something shows in the notes, not on the machine.
# Exits 77 (skipped) when the demo case cannot make a user, that is when not root.
set -euo pipefail

source_dir=$(cd "$1" && pwd)
case_name=$2
work=$(mktemp -d)
user=""
cleanup() {
  [ -z "$user" ] || userdel "$user" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

stand_ins="$work/stand-ins"
calls="$work/package-calls"
mkdir "$stand_ins"
for tool in apt-get apt aptitude dpkg sudo su; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\nexit 1\n' "$tool" "$calls" >"$stand_ins/$tool"
  chmod +x "$stand_ins/$tool"
done

fail() {
  echo "FAILED: $*"
  exit 1
}

expect_no_package_calls() {
  if [ -s "$calls" ]; then
    echo "Package commands run by $1:"
    cat "$calls"
    fail "$1 ran package commands on a machine that has the packages it needs"
  fi
}

case "$case_name" in
  ready)
    # The build itself is not the point here, and the tree's own build directory is in
    # use by the running tests: cmake only answers.
    printf '#!/bin/sh\nexit 0\n' >"$stand_ins/cmake"
    chmod +x "$stand_ins/cmake"
    status=0
    PATH="$stand_ins:$PATH" "$source_dir/run" build >"$work/out" 2>&1 || status=$?
    cat "$work/out"
    expect_no_package_calls "./run build"
    [ "$status" -eq 0 ] || fail "./run build failed"
    ;;
  demo)
    if [ "$(id -u)" -ne 0 ]; then
      echo "Skipped: only root can make a user who is not root to run the set-up as."
      exit 77
    fi
    # The machine seems to have the demo's packages and no others, the window's and the
    # Windows build's among them: dpkg-query answers for the others as for a package it
    # does not know.
    cat >"$stand_ins/dpkg-query" <<'SHIM'
#!/bin/bash
if [[ " $PRESENT_PACKAGES " == *" ${!#} "* ]]; then exec /usr/bin/dpkg-query "$@"; fi
echo "dpkg-query: no packages found matching ${!#}" >&2
exit 1
SHIM
    chmod +x "$stand_ins/dpkg-query"
    user="zorvan-t$$"
    useradd --no-create-home --home-dir "$work" --shell /bin/sh "$user"
    copy="$work/zorvan"
    mkdir "$copy"
    tar -C "$source_dir" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$copy" -xf -
    chown -R "$user:" "$work"
    # The compilers run at a lower priority than the tests running beside this one, which
    # talk to simulated devices under millisecond time-outs; the demo's own programming
    # run keeps its priority, for its time-outs too.
    status=0
    (cd "$copy" && runuser -u "$user" -- env HOME="$work" PATH="$stand_ins:$PATH" \
       PRESENT_PACKAGES="cmake ninja-build g++ nlohmann-json3-dev libssl-dev" \
       CMAKE_CXX_COMPILER_LAUNCHER=nice CMAKE_C_COMPILER_LAUNCHER=nice CMAKE_BUILD_PARALLEL_LEVEL=2 \
       ./run demo) >"$work/demo.out" 2>&1 || status=$?
    cat "$work/demo.out"
    [ "$status" -eq 0 ] || fail "./run demo failed for a user who is not root"
    grep -q "^Demo passed" "$work/demo.out" || fail "./run demo did not pass"
    expect_no_package_calls "./run demo"
    if grep -Eq "(^|[[:space:]])(apt-get|apt|aptitude|dpkg|sudo) " "$work/demo.out"; then
      fail "./run demo printed a package command on a machine that has the demo's packages"
    fi
    made=()
    for path in "$copy"/build/zorvan-* "$copy/build-win"; do
      [ ! -e "$path" ] || made+=("${path#"$copy"/}")
    done
    [ "${made[*]}" = "build/zorvan-flash build/zorvan-sim" ] ||
      fail "./run demo made ${made[*]}, more than build/zorvan-flash and build/zorvan-sim"
    ;;
  *)
    fail "unknown case '$case_name'"
    ;;
esac
echo "Passed: $case_name"
