#!/usr/bin/env bash
# Builds the optimised configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release
cmake --build --preset release
scripts/with-pulseaudio.sh ctest --preset release
