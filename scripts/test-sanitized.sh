#!/usr/bin/env bash
# The core libraries' tests under AddressSanitizer + UndefinedBehaviorSanitizer,
# then the recording fuzzer for a while (seconds: $1, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset asan
cmake --build --preset asan
scripts/with-pulseaudio.sh ctest --preset asan

cmake --preset fuzz
cmake --build --preset fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
build-fuzz/bin/fuzz-recording-seed "$corpus/seed.DAT"
build-fuzz/bin/fuzz-recording -max_total_time="$seconds" -max_len=200000 -rss_limit_mb=4096 "$corpus"
