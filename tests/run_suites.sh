#!/usr/bin/env bash
# Runs the test suites of build directories in one ctest, so that the Windows suite under
# Wine and the Linux suite share the machine, and ends by saying how it went: each
# suite's passed, failed and skipped tests, and the time.
#   run_suites.sh all|quick BUILD_DIR...
# `quick` runs the tests labelled quick (unit and logic tests) alone. The exit status is
# ctest's: 0 when no test failed.
set -euo pipefail

kind=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
builds=()
for dir in "$@"; do builds+=("$(cd "$dir" && pwd)"); done

# A test directory of its own that holds the build directories' suites, and ctest's
# record of each test's duration, from which it starts the longest first next time.
suites=${builds[0]}/all-suites
mkdir -p "$suites"
for dir in "${builds[@]}"; do
  echo "subdirs(\"$dir\")"
done >"$suites/CTestTestfile.cmake"

# The Windows suite keeps Wine's server running until its last test (the fixture
# wine-server); when a run ends early, the server is stopped here. ctest ends on Ctrl+C
# by itself, with status 130, and the shell then goes on.
stop_wine_servers() {
  local dir
  for dir in "${builds[@]}"; do
    if [ -d "$dir/wine-prefix" ]; then "$here/wine_suite_server.sh" stop "$dir/wine-prefix" >/dev/null; fi
  done
}
trap 'stop_wine_servers; exit 130' INT TERM

selection=()
[ "$kind" = all ] || selection=(-L "$kind")
results=$suites/results.xml
rm -f "$results"
started=$SECONDS
status=0
# Three tests at a time on two cores: most of a test's time goes on waiting for a line
# paced at its bit rate, a device's latencies or a window, and a whole run keeps the
# cores busy for about half its time.
QT_QPA_PLATFORM=offscreen ctest --test-dir "$suites" -j3 --output-on-failure --no-label-summary \
  --no-tests=error --output-junit "$results" "${selection[@]}" || status=$?
stop_wine_servers
if [ -f "$results" ]; then
  python3 "$here/test_run_summary.py" "$results" $((SECONDS - started))
else
  echo "ctest ended with status $status before it wrote how the tests went."
fi
exit "$status"
