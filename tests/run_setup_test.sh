#!/usr/bin/env bash
# The set-up in ./run, as a new user meets it.
#   run_setup_test.sh SOURCE_DIR ready     on a machine with every package installed,
#                                          ./run build runs no package command
#   run_setup_test.sh SOURCE_DIR non-root  a user who is not root builds the project and
#                                          runs the demo in a copy of it they own
# Package commands are replaced on PATH by stand-ins that note each call and fail, so a
# set-up that still wants to install something shows in the notes, not on the machine.
# Exits 77 (skipped) when the non-root case cannot make a user, that is when not root.
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
    fail "$1 ran package commands on a machine where every package is installed"
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
  non-root)
    if [ "$(id -u)" -ne 0 ]; then
      echo "Skipped: only root can make a user who is not root to run the set-up as."
      exit 77
    fi
    user="zorvan-t$$"
    useradd --no-create-home --home-dir "$work" --shell /bin/sh "$user"
    copy="$work/zorvan"
    mkdir "$copy"
    tar -C "$source_dir" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$copy" -xf -
    chown -R "$user:" "$work"
    as_user() {
      (cd "$copy" && runuser -u "$user" -- env HOME="$work" PATH="$stand_ins:$PATH" \
        CMAKE_BUILD_PARALLEL_LEVEL=2 "$@")
    }
    # Configured without the window, the tests and the benchmarks, which the demo does
    # not use: built from nothing they would take several minutes more. ./run keeps these
    # settings, as it keeps an operator's own. The Windows build, made wherever its tools
    # are installed, likewise leaves out its tests.
    as_user cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZORVAN_BUILD_APP=OFF \
      -DZORVAN_BUILD_TESTS=OFF -DZORVAN_BUILD_BENCH=OFF >/dev/null
    if command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
      as_user cmake -S . -B build-win -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DZORVAN_BUILD_APP=OFF -DZORVAN_BUILD_TESTS=OFF \
        >/dev/null
    fi
    as_user ./run build >"$work/build.out" 2>&1 || {
      cat "$work/build.out"
      fail "./run build failed for a user who is not root"
    }
    as_user ./run demo >"$work/demo.out" 2>&1 || {
      cat "$work/demo.out"
      fail "./run demo failed for a user who is not root"
    }
    grep -q "^Demo passed" "$work/demo.out" || {
      cat "$work/demo.out"
      fail "./run demo did not pass"
    }
    expect_no_package_calls "./run build and ./run demo"
    ;;
  *)
    fail "unknown case '$case_name'"
    ;;
esac
echo "Passed: $case_name"
