#!/usr/bin/env bash
# Times `zorvan-flash check` on the HEX file of a 16 MiB image against srec_cat reading
# the same file, in one run, and prints the ratio.
#   bench/check_vs_srec_cat.sh [path/to/zorvan-flash]
set -euo pipefail
flash=${1:-build/zorvan-flash}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((16 * 1024 * 1024)) /dev/urandom > "$work/image.bin"
srec_cat "$work/image.bin" -binary -o "$work/image.hex" -intel -address-length=4

# The best of five runs of a command, in milliseconds.
best_ms() {
  local best=""
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    local ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

ours=$(best_ms "$flash" check "$work/image.hex")
theirs=$(best_ms srec_cat "$work/image.hex" -intel -o /dev/null -binary)
echo "zorvan-flash check: ${ours} ms; srec_cat: ${theirs} ms; ratio $(awk "BEGIN{printf \"%.3f\", $ours/$theirs}")"
