#!/usr/bin/env bash
# The real program read over the desktop's accessibility bus, as a screen reader reads it: a
# private session bus, the AT-SPI bus and registry, a virtual display.
#   screen-reader.sh <sonorell program>
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run SONORELL_HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data SONORELL_CD_DEVICE=none
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$SONORELL_HOME"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
gst-launch-1.0 -q audiotestsrc num-buffers=600 ! audio/x-raw,rate=44100,channels=2 ! wavenc ! filesink location="$work/tone.wav"
exec dbus-run-session -- "$here/with-xvfb.sh" 1280x1024x24 bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  "'"$program"'" "'"$work"'/tone.wav" & player=$!
  status=0
  /usr/bin/python3 "'"$here"'/screen_reader.py" || status=$?
  kill $player $launcher 2>/dev/null
  exit $status' 2>&1 | grep -v "fd limit"
