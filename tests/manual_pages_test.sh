#!/usr/bin/env bash
# The manual pages in the source tree against the programs' own help: every option and
# command the help lists, and every exit status of zorvan-flash, is in each page (the
# English and the Ukrainian one), and each page renders without a warning.
#   tests/manual_pages_test.sh SOURCE_DIR ZORVAN_FLASH ZORVAN_SIM
set -euo pipefail
source_dir=$1 flash=$2 sim=$3

fail() { echo "FAILED: $*"; exit 1; }
command -v man >/dev/null || { echo "Skipped: man is not installed (./run installs man-db)"; exit 77; }

flash_pages=("$source_dir/cli/man/zorvan-flash.1" "$source_dir/cli/man/uk/zorvan-flash.1")
sim_page=$source_dir/tools/sim/zorvan-sim.1

# The long options of a help text, one per line.
options_of() { grep -oE -- '--[a-z][a-z-]*[a-z]' | sort -u; }

for page in "${flash_pages[@]}" "$sim_page"; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man could not render $page"
  [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
done

help=$(LC_ALL=en_US.UTF-8 "$flash" --help)
for page in "${flash_pages[@]}"; do
  # roff writes a hyphen in an option as "\-".
  text=$(sed 's/\\-/-/g' "$page")
  for option in $(options_of <<<"$help") -q -h -V; do
    grep -qE -- "$option([^a-z-]|$)" <<<"$text" || fail "$page does not name $option, which --help lists"
  done
  for command in check ports detect write reset records; do
    grep -q "^\.B.* $command\b\|^\.B $command\b\|^\.BR $command\b\|^\.BI $command\b" <<<"$text" ||
      fail "$page does not describe the command $command"
  done
  for status in $(grep -oE '^ ?[0-9]+  ' <<<"$help" | tr -d ' '); do
    grep -qx "\.B $status" <<<"$text" || fail "$page does not give the exit status $status"
  done
done

text=$(sed 's/\\-/-/g' "$sim_page")
for option in $(LC_ALL=en_US.UTF-8 "$sim" --help | options_of); do
  grep -qE -- "$option([^a-z-]|$)" <<<"$text" || fail "$sim_page does not name $option, which zorvan-sim --help lists"
done
echo "The manual pages name every command, option and exit status the help gives."
