#!/usr/bin/env bash
# The real program in a real X window: the title strip's hide and close zones answer a click after
# a video has been shown (its window once made every widget of the main window a native window,
# and the strip's zones then took the clicks away from it).
#   title-strip.sh <sonorell program>
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run SONORELL_HOME=$work/home XDG_CONFIG_HOME=$work/config SONORELL_CD_DEVICE=none
export SONORELL_AUDIO_SINK="fakesink sync=true" QT_QPA_PLATFORM=xcb
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$SONORELL_HOME"
gst-launch-1.0 -q avimux name=m ! filesink location="$work/clip.avi" \
  videotestsrc num-buffers=250 ! video/x-raw,width=160,height=120,framerate=25/1 ! jpegenc ! m. \
  audiotestsrc num-buffers=440 ! audioconvert ! lamemp3enc ! m.
export program work
exec "$here/with-xvfb.sh" 1024x768x24 bash -c '
  # click X: the strip is clicked at x (window pixels) while the video plays; prints what became of the window.
  click() {
    "$program" "$work/clip.avi" >/dev/null 2>&1 & player=$!
    for _ in $(seq 50); do main=$(xdotool search --name "^Sonorell Player v" 2>/dev/null | head -1) && [ -n "$main" ] && break; sleep 0.2; done
    for _ in $(seq 50); do xdotool search --name "clip.avi\$" >/dev/null 2>&1 && break; sleep 0.2; done
    # with no window found, xwininfo -id "" would wait for a click that never comes
    if [ -z "$main" ]; then echo "no window"; kill $player 2>/dev/null; return; fi
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + $1)) $((Y + 5)) click 1
    sleep 1.5
    if ! kill -0 $player 2>/dev/null; then echo closed
    elif ! xwininfo -id "$main" | grep -q "IsViewable"; then echo hidden
    else echo unchanged; fi
    kill $player 2>/dev/null; wait $player 2>/dev/null || true
  }
  status=0
  got=$(click 352); echo "close zone: $got"; [ "$got" = closed ] || status=1
  got=$(click 340); echo "hide zone: $got"; [ "$got" = hidden ] || status=1
  exit $status'
