#!/usr/bin/env bash
# Wine's server for a whole test suite (ctest's fixture wine-server): started once before
# the suite's first program and stopped after its last.
#   wine_suite_server.sh start|stop PREFIX
# Each program run alone keeps a server for ten seconds after it ends (wine_run.sh). In a
# suite, with other tests in between, such a server would end between programs, and the
# next program would pay for starting it and booting the prefix again; a server ending
# while a program starts may leave that program starting the services itself, which then
# hold the test runner's pipe, and the test, open for as long as they run.
set -euo pipefail

action=$1
source "$(dirname "$0")/wine_prefix.sh"
use_wine_prefix "$2"

case "$action" in
  start)
    # A server left by an earlier program (the listing of the tests starts one) would end
    # ten seconds after its last program: it gives way to one that stays.
    wineserver -k 2>/dev/null || true
    wineserver -w
    start_wine_server
    echo "Wine's server runs for $WINEPREFIX" ;;
  stop)
    wineserver -k 2>/dev/null || true
    wineserver -w
    echo "Wine's server for $WINEPREFIX has stopped" ;;
  *)
    echo "wine_suite_server.sh start|stop PREFIX"
    exit 1 ;;
esac
