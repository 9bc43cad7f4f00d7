#!/usr/bin/env bash
# Runs a command next to a private PulseAudio server with a null sink, so the
# sound tests have an output to play to (and must not skip: KVR_REQUIRE_SOUND=1).
#   scripts/with-pulseaudio.sh ctest --test-dir build --output-on-failure
# Works as root too. The server and its runtime folder are removed afterwards;
# the command's exit status is returned.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 command [args...]" >&2
  exit 2
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/kvr-pulse-XXXXXX")
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
# Keep client and server away from the user's own configuration and cookie.
export PULSE_RUNTIME_PATH="$runtime/pulse"
export PULSE_STATE_PATH="$runtime/state"
export PULSE_CONFIG_PATH="$runtime/config"
export PULSE_COOKIE="$runtime/cookie"
unset PULSE_SERVER

pid_file="$runtime/pulse/pid"
cleanup() {
  local pid=""
  [ -f "$pid_file" ] && pid=$(cat "$pid_file" 2>/dev/null || true)
  pactl exit >/dev/null 2>&1 || true
  if [ -n "$pid" ]; then
    for _ in $(seq 1 20); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true   # it did not take the exit request
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

pulseaudio -n --daemonize=yes --system=false --disallow-exit=no --exit-idle-time=-1 \
  --use-pid-file=yes --log-target=file:"$runtime/pulse.log" \
  --load=module-null-sink \
  --load="module-native-protocol-unix auth-anonymous=1"

for _ in $(seq 1 100); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "with-pulseaudio: the sound server did not start" >&2
  cat "$runtime/pulse.log" >&2 2>/dev/null || true
  exit 1
fi

export KVR_REQUIRE_SOUND=1
status=0
"$@" || status=$?
exit "$status"
