#!/usr/bin/env bash
# Resident memory and processor time while a 192 kbit/s MP3 plays, side by side in one run: the
# player, a bare GStreamer pipeline, and established players (Audacious, mpv) where installed.
# Every one plays to the same private sound server (a PulseAudio daemon with a null sink).
#   footprint.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$dir/run HOME=$dir/home SONORELL_HOME=$dir/sonorell SONORELL_CD_DEVICE=none
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME" "$SONORELL_HOME"
unset SONORELL_AUDIO_SINK
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=false \
  --load="module-null-sink sink_name=bench" --load="module-native-protocol-unix" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; sleep 0.5; rm -rf "$dir"' EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink bench
gst-launch-1.0 -q audiotestsrc num-buffers=3000 samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 \
  ! lamemp3enc target=bitrate bitrate=192 cbr=true ! filesink location="$dir/song.mp3"

# Processor time in nanoseconds, summed over the process's threads: the scheduler's own count, not
# the clock ticks of /proc/PID/stat, which miss threads that wake briefly between two ticks.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s}'; }

# measure NAME PID: waits 5 s into playback, then reads RSS and the processor share over 15 s.
measure() {
  local name=$1 pid=$2
  sleep 5
  local before start after
  before=$(cpu_ns "$pid"); start=$(date +%s.%N)
  sleep 15
  after=$(cpu_ns "$pid")
  local rss elapsed
  rss=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")
  elapsed=$(echo "$(date +%s.%N) - $start" | bc)
  printf '%-32s %7s MiB  %6.2f %% of one core\n' "$name" "$rss" "$(echo "($after - $before) / 1000000000 / $elapsed * 100" | bc -l)"
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
}

idle() {
  local pid=$1 name=$2
  sleep 5
  local before start after
  before=$(cpu_ns "$pid"); start=$(date +%s.%N)
  sleep 15
  after=$(cpu_ns "$pid")
  printf '%-32s %7s      %6.2f %% of one core\n' "$name" "" \
    "$(echo "($after - $before) / 1000000000 / ($(date +%s.%N) - $start) * 100" | bc -l)"
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
}

echo "resident memory and processor use while playing a 192 kbit/s MP3:"
xvfb-run -a "$build/sonorell" "$dir/song.mp3" >/dev/null 2>&1 &
sleep 1; measure "sonorell" "$(pgrep -n -x sonorell)"
gst-launch-1.0 -q playbin uri="file://$dir/song.mp3" video-sink=fakesink >/dev/null 2>&1 &
measure "gst-launch-1.0 playbin" $!
if command -v audacious >/dev/null; then
  xvfb-run -a audacious -H -p "$dir/song.mp3" >/dev/null 2>&1 &
  sleep 1; measure "audacious (headless)" "$(pgrep -n -x audacious)"
fi
if command -v mpv >/dev/null; then
  mpv --no-video --no-terminal --ao=pulse "$dir/song.mp3" &
  measure "mpv" $!
fi
xvfb-run -a "$build/sonorell" >/dev/null 2>&1 &
sleep 1; idle "$(pgrep -n -x sonorell)" "sonorell (idle, no list)"
printf '%s\r\n' "$dir/song.mp3" > "$SONORELL_HOME/Default.list"
xvfb-run -a "$build/sonorell" >/dev/null 2>&1 &
sleep 1; idle "$(pgrep -n -x sonorell)" "sonorell (idle, a song loaded)"
