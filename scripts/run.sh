#!/usr/bin/env bash
# Builds the viewer, puts a demo card beside it (its open dialog starts
# there) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release
cmake --build --preset release
if [ ! -f build/bin/demo-card/0002_003.DAT ]; then
  build/bin/kvr-tool demo build/bin/demo-card
fi
exec build/bin/kvr-viewer
