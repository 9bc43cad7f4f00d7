#!/usr/bin/env bash
# Builds the viewer's tools and puts a demo card beside them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release
cmake --build --preset release
if [ ! -d build/bin/demo-card ]; then
  build/bin/kvr-tool demo build/bin/demo-card
fi
build/bin/kvr-tool scan build/bin/demo-card/0001_001.DAT
build/bin/kvr-tool telemetry build/bin/demo-card/0001_002.DAT | sed -n '1p;335,345p'
