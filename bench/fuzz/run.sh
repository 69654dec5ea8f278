#!/usr/bin/env bash
# Builds the HEX preparation fuzzer with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it. Not part of CI.
#   bench/fuzz/run.sh [seconds]      (default 300)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-300}
out=build-fuzz
mkdir -p "$out/corpus"
cp firmware/embedded_firmware.hex "$out/corpus/embedded.hex"
printf ':0400000043EF01F0D9\n:00000001FF\n' > "$out/corpus/small.hex"
printf ':020000021000EC\n:0100100055\n:04000005000000CD2A\n' > "$out/corpus/segment.hex"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I. bench/fuzz/hex_preparation_fuzzer.cpp common/conversions.cpp common/errors.cpp \
  common/gauge_model.cpp firmware/hex_text.cpp firmware/hex_lines.cpp firmware/image_builder.cpp \
  tests/recording_surface.cpp serial/queued_gui_thread.cpp -o "$out/hex_preparation_fuzzer"
"$out/hex_preparation_fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -dict=<(printf '":"\n"00000001FF"\n"02000004"\n"02000002"\n"04000005"\n"\\x0d\\x0a"\n') \
  "$out/corpus" 2>&1 | tail -25
