# Sourced by the scripts that run Windows programs under Wine: a Wine prefix's
# environment, and its server.
#   use_wine_prefix PREFIX         exports what Wine needs to run headless in PREFIX
#   start_wine_server [SECONDS]    starts the prefix's server unless it is running,
#                                  making the prefix on first use; it outlives its last
#                                  program by SECONDS, or runs until stopped when none
#                                  are given

use_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all
  # Without these Wine would offer to install its .NET and HTML engines on first start.
  export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
}

# Wine's server and the services it boots (services.exe, winedevice.exe) are started here,
# away from any program's output: a program that started them would hand them its output,
# and they would hold a test runner's pipe open after the program has ended (and write
# the server's debugging dump of objects there when it stops). Callers starting side by
# side take turns: one starts the server and boots it, and the others find it running.
start_wine_server() {
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    # The server and the services must not inherit the lock, or they would hold it.
    if wineserver "-p${1:-}" </dev/null >/dev/null 2>&1 9>&-; then
      if [ -f "$WINEPREFIX/system.reg" ]; then
        wine wineboot </dev/null >/dev/null 2>&1 9>&-
      else
        wine wineboot --init </dev/null >/dev/null 2>&1 9>&-
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
}
