#!/usr/bin/env bash
# Draws the pictures of the help page into src/resources/help/:
#   22101-22109  number markers 1 to 9 (12 x 12);
#   22110-22113  the information panel, the picture and sound panel, the
#                transport bar and the G-value chart, taken from the viewer
#                running on a virtual screen with a demo recording open.
#   scripts/help-screenshots.sh [build folder]      (default: build)
# Needs Xvfb, xdotool and ImageMagick (import, convert); the viewer runs next
# to a private sound server (scripts/with-pulseaudio.sh). Rebuild afterwards
# so that the pictures join the program's resources.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

# The viewer needs a sound output: run the rest next to a private server.
if [ -z "${KVR_HELP_SHOTS_INNER:-}" ]; then
  KVR_HELP_SHOTS_INNER=1 exec "$root/scripts/with-pulseaudio.sh" "$0" "$build"
fi

out=$root/src/resources/help
work=$(mktemp -d "${TMPDIR:-/tmp}/kvr-help-shots-XXXXXX")
xvfb_pid=""
viewer_pid=""
cleanup() {
  local status=$?
  [ "$status" -ne 0 ] && [ -f "$work/viewer.log" ] && tail -n 20 "$work/viewer.log" >&2
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Number markers: white digits on the accent blue of the page.
for n in 1 2 3 4 5 6 7 8 9; do
  convert -size 12x12 xc:none -fill '#1f6fb2' -draw 'circle 5.5,5.5 5.5,0' \
    -fill white -font DejaVu-Sans-Bold -pointsize 9 -gravity center -annotate +0+0 "$n" \
    "PNG32:$out/2210$n.png"
done

"$build/bin/kvr-tool" demo "$work/card" >/dev/null

# A virtual screen of its own: the first free display number from 90 on.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 1 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

export LANG=ja_JP.UTF-8
"$build/bin/kvr-viewer" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
# The first visible window of the viewer whose title matches `$1`, other
# than `$2`, waiting for it.
viewer_window() {
  local id
  for _ in $(seq 1 100); do
    for id in $(xdotool search --onlyvisible --pid "$viewer_pid" --name "$1" 2>/dev/null || true); do
      if [ "$id" != "${2:-}" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "help-screenshots: the viewer showed no window" >&2
  return 1
}
sleep 3 # past the start logo, and the main window has settled
window=$(viewer_window '^KVR-M48C$')

# File > Open, then the recording with the braking event, typed into the
# file name field of the open dialog.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key o
sleep 1
dialog=$(viewer_window . "$window")
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool type --delay 20 "$work/card/0001_002.DAT"
xdotool key Return
sleep 15 # playing: past the braking at 12 s

import -window "$window" "$work/window.png"
read -r width height < <(identify -format '%w %h\n' "$work/window.png")
# The client area (874 x 640 at start) sits under the menu bar.
client_w=874
client_h=640
top=$((height - client_h))
crop() { # id x y w h, in client coordinates
  convert "$work/window.png" -crop "${4}x${5}+${2}+$((top + $3))" +repage "PNG24:$out/$1.png"
}
crop 22110 $((client_w - 209)) 0 209 180
crop 22111 $((client_w - 209)) $((client_h - 155 - 140)) 209 140
crop 22112 0 $((client_h - 155)) "$client_w" 65
crop 22113 0 $((client_h - 90)) "$client_w" 90
echo "help pictures written to $out (window ${width}x${height})"
