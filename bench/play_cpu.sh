#!/usr/bin/env bash
# CPU time to play a 60-second MP3 to its end through the media device, against gst-launch's
# playbin with the same sink, in one run. Prints both and their ratio.
set -euo pipefail
build=${1:-build}
sink=${SONORELL_AUDIO_SINK:-fakesink sync=true}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
gst-launch-1.0 -q audiotestsrc num-buffers=2584 samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 \
  ! lamemp3enc target=bitrate bitrate=192 cbr=true ! filesink location="$dir/song.mp3"
uri="file://$dir/song.mp3"

cpu() { /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -1 | awk '{printf "%.2f", $1 + $2}'; }

player() {
  coproc TOOL { SONORELL_AUDIO_SINK="$sink" /usr/bin/time -f '%U %S' -o "$dir/ours.cpu" "$build/sonorell-mci"; }
  echo "open $uri type MPEGVideo Alias s" >&"${TOOL[1]}"; read -r _ <&"${TOOL[0]}"
  echo "play s" >&"${TOOL[1]}"; read -r _ <&"${TOOL[0]}"
  while sleep 1; do
    echo "status s mode" >&"${TOOL[1]}"; read -r line <&"${TOOL[0]}"
    [ "$line" = "0 stopped" ] && break
  done
  exec {TOOL[1]}>&-
  wait "$TOOL_PID"
}
export -f player
export uri sink build dir

# Only the player's own process is timed, not the shell that drives it.
bash -c player
ours=$(awk '{printf "%.2f", $1 + $2}' "$dir/ours.cpu")
theirs=$(cpu gst-launch-1.0 -q playbin uri="$uri" audio-sink="$sink" video-sink=fakesink)
echo "sonorell media device: ${ours}s CPU; gst-launch-1.0 playbin: ${theirs}s CPU; ratio $(awk -v a="$ours" -v b="$theirs" 'BEGIN{printf "%.2f", (b>0)?a/b:0}')"
