#!/usr/bin/env bash
# How often the player's threads wake while nothing plays: context switches of the whole process
# over 10 s with a song loaded and never played, paused, and stopped at the song's end, on a
# private PulseAudio daemon with a null sink. The player is driven through its media controls.
#   wakeups.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${SONORELL_WAKEUPS_INNER:-}" ]; then
  exec env SONORELL_WAKEUPS_INNER=1 dbus-run-session -- bash "$0" "$build"
fi
dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$dir/run HOME=$dir/home SONORELL_HOME=$dir/sonorell SONORELL_CD_DEVICE=none
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME" "$SONORELL_HOME"
unset SONORELL_AUDIO_SINK
pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --load="module-null-sink sink_name=bench" --load="module-native-protocol-unix" >/dev/null 2>&1 &
server=$!
player=
trap '[ -n "$player" ] && kill $player 2>/dev/null; kill $server 2>/dev/null; sleep 0.5; rm -rf "$dir"' EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink bench
gst-launch-1.0 -q audiotestsrc num-buffers=700 samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 \
  ! lamemp3enc ! filesink location="$dir/song.mp3"
printf '%s\r\n' "$dir/song.mp3" > "$SONORELL_HOME/Default.list"

switches() {
  local total=0 n
  for status in /proc/"$1"/task/*/status; do
    n=$(awk '/ctxt_switches/ {s += $2} END {print s}' "$status" 2>/dev/null || echo 0)
    total=$((total + n))
  done
  echo "$total"
}
# measure NAME: context switches a second over 10 s, and the threads that woke at all.
measure() {
  local before after woke=0
  declare -A first
  for status in /proc/"$player"/task/*/status; do first[$status]=$(awk '/ctxt_switches/ {s += $2} END {print s}' "$status"); done
  before=$(switches "$player")
  sleep 10
  after=$(switches "$player")
  for status in "${!first[@]}"; do
    [ -e "$status" ] || continue
    local now_
    now_=$(awk '/ctxt_switches/ {s += $2} END {print s}' "$status")
    if [ "$now_" != "${first[$status]}" ]; then
      woke=$((woke + 1))
      [ -n "${SONORELL_WAKEUPS_VERBOSE:-}" ] && echo "  $(cat "${status%/status}/comm"): $((now_ - ${first[$status]}))"
    fi
  done
  printf '%-34s %6.1f switches a second, %d of %d threads woke\n' "$1" "$(echo "($after - $before) / 10" | bc -l)" \
    "$woke" "${#first[@]}"
}

QT_QPA_PLATFORM=offscreen "$build/sonorell" >/dev/null 2>&1 &
player=$!
for _ in $(seq 50); do playerctl -p sonorell status >/dev/null 2>&1 && break; sleep 0.2; done
sleep 6  # the output's stream, woken at start, is corked again after five seconds
measure "a song loaded, never played"
playerctl -p sonorell play; sleep 2; playerctl -p sonorell pause; sleep 1
measure "paused"
playerctl -p sonorell play
for _ in $(seq 100); do [ "$(playerctl -p sonorell status 2>/dev/null)" = Stopped ] && break; sleep 0.2; done
sleep 1
measure "stopped at the song's end"
