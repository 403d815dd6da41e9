#!/usr/bin/env bash
# Resident memory and processor time while a 192 kbit/s MP3 plays, side by side in one run: the
# player (its window shown, then unmapped) and Audacious without a window by turns over three
# rounds, with the mean of each; then a bare GStreamer pipeline and mpv where installed. Every one plays to the same private sound server with a
# null sink: a PulseAudio daemon, then PipeWire (with its pulse protocol server).
#   footprint.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${SONORELL_FOOTPRINT_INNER:-}" ]; then
  exec env SONORELL_FOOTPRINT_INNER=1 dbus-run-session -- bash "$0" "$build"  # PipeWire needs a session bus
fi
dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$dir/run HOME=$dir/home SONORELL_HOME=$dir/sonorell SONORELL_CD_DEVICE=none
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME" "$SONORELL_HOME"
unset SONORELL_AUDIO_SINK
servers=()
stop_servers() { for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done; servers=(); sleep 0.5; }
trap 'stop_servers; rm -rf "$dir"' EXIT

# start_server pulseaudio|pipewire: the server up, its null sink "bench" the default output.
start_server() {
  if [ "$1" = pipewire ]; then
    pipewire >/dev/null 2>&1 & servers+=($!)
    sleep 0.3
    wireplumber >/dev/null 2>&1 & servers+=($!)
    pipewire-pulse >/dev/null 2>&1 & servers+=($!)
  else
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load="module-native-protocol-unix" >/dev/null 2>&1 & servers+=($!)
  fi
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  for _ in $(seq 100); do pactl load-module module-null-sink sink_name=bench >/dev/null 2>&1 && break; sleep 0.1; done
  for _ in $(seq 100); do pactl list short sinks 2>/dev/null | grep -q bench && break; sleep 0.1; done
  for _ in $(seq 100); do pactl set-default-sink bench 2>/dev/null && break; sleep 0.1; done
}
gst-launch-1.0 -q audiotestsrc num-buffers=3000 samplesperbuffer=1024 ! audio/x-raw,rate=44100,channels=2 \
  ! lamemp3enc target=bitrate bitrate=192 cbr=true ! filesink location="$dir/song.mp3"

# Processor time in nanoseconds, summed over the process's threads: the scheduler's own count, not
# the clock ticks of /proc/PID/stat, which miss threads that wake briefly between two ticks.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s}'; }

# The main thread alone: for a player with a window, what drawing it costs.
main_ns() { awk '{print $1}' /proc/"$1"/task/"$1"/schedstat 2>/dev/null; }

# Each thread: its id, name, processor time in nanoseconds and the times it was run.
thread_stats() {
  for t in /proc/"$1"/task/*; do
    printf '%s %s %s\n' "${t##*/}" "$(tr ' ' _ < "$t/comm")" "$(awk '{print $1, $3}' "$t/schedstat")"
  done 2>/dev/null | sort
}

# measure NAME PID: waits 5 s into playback, then reads RSS and the processor share over 15 s,
# and where it goes: every thread that used 0.01 % or more, with how often it woke. The share is
# kept in shares[NAME] too.
declare -A shares
measure() {
  local name=$1 pid=$2
  sleep 5
  local before start after main_before main_after threads_before threads_after
  before=$(cpu_ns "$pid"); main_before=$(main_ns "$pid"); threads_before=$(thread_stats "$pid"); start=$(date +%s.%N)
  sleep 15
  after=$(cpu_ns "$pid"); main_after=$(main_ns "$pid"); threads_after=$(thread_stats "$pid")
  local rss elapsed share
  rss=$(awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status")
  elapsed=$(echo "$(date +%s.%N) - $start" | bc)
  share=$(echo "($after - $before) / 1000000000 / $elapsed * 100" | bc -l)
  shares[$name]="${shares[$name]:-} $share"
  printf '%-32s %7s MiB  %6.2f %% of one core (main thread %.2f %%)\n' "$name" "$rss" "$share" \
    "$(echo "($main_after - $main_before) / 1000000000 / $elapsed * 100" | bc -l)"
  join <(echo "$threads_before") <(echo "$threads_after") | awk -v s="$elapsed" \
    '{d = ($6 - $3) / 1e9 / s * 100; if (d >= 0.01) printf "    %-28s %5.2f %%  %5.1f wake-ups a second\n", $2, d, ($7 - $4) / s}'
  end "$pid"
}

# Ends a process and waits until it is gone: the next one measured is found as the newest.
end() {
  kill "$1" 2>/dev/null; wait "$1" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
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
  end "$pid"
}

for server in pulseaudio pipewire; do
  start_server "$server"
  # The first stream on a PulseAudio daemon just started cost its output thread up to 5 ms a
  # second more for tens of seconds (sonorell measured first: 0.5-0.6 % against 0.3 % after), so a
  # bare pipeline plays a while before anything is measured, as on a desktop whose server runs.
  timeout 20 gst-launch-1.0 -q playbin uri="file://$dir/song.mp3" video-sink=fakesink >/dev/null 2>&1 || true
  echo "resident memory and processor use while playing a 192 kbit/s MP3 ($server):"
  # The player with its window shown, the same with its window unmapped (as in the tray: what
  # drawing the window once a second costs) and Audacious by turns, three rounds: the machine's
  # drift from one minute to the next (other guests, its clock speed) weighs on each alike.
  shares=()
  for round in 1 2 3; do
    xvfb-run -a "$build/sonorell" "$dir/song.mp3" >/dev/null 2>&1 &
    sleep 1; measure "sonorell" "$(pgrep -n -x sonorell)"
    xvfb-run -a bash -c '"$0" "$1" & sleep 1.5
      for w in $(xdotool search --name "^Sonorell Player"); do xdotool windowunmap "$w"; done; wait' \
      "$build/sonorell" "$dir/song.mp3" >/dev/null 2>&1 &
    sleep 1; measure "sonorell (window unmapped)" "$(pgrep -n -x sonorell)"
    if command -v audacious >/dev/null; then
      xvfb-run -a audacious -H -p "$dir/song.mp3" >/dev/null 2>&1 &
      sleep 1; measure "audacious (headless)" "$(pgrep -n -x audacious)"
    fi
  done
  for name in "sonorell" "sonorell (window unmapped)" "audacious (headless)"; do
    [ -n "${shares[$name]:-}" ] || continue
    printf '%-32s %11s  %6.2f %% of one core (mean of the rounds)\n' "$name" "" \
      "$(echo "${shares[$name]}" | awk '{for (i = 1; i <= NF; i++) s += $i; print s / NF}')"
  done
  gst-launch-1.0 -q playbin uri="file://$dir/song.mp3" video-sink=fakesink >/dev/null 2>&1 &
  measure "gst-launch-1.0 playbin" $!
  if command -v mpv >/dev/null; then
    mpv --no-video --no-terminal --ao=pulse "$dir/song.mp3" &
    measure "mpv" $!
  fi
  [ "$server" = pipewire ] || stop_servers
done
xvfb-run -a "$build/sonorell" >/dev/null 2>&1 &
sleep 1; idle "$(pgrep -n -x sonorell)" "sonorell (idle, no list)"
printf '%s\r\n' "$dir/song.mp3" > "$SONORELL_HOME/Default.list"
xvfb-run -a "$build/sonorell" >/dev/null 2>&1 &
sleep 1; idle "$(pgrep -n -x sonorell)" "sonorell (idle, a song loaded)"
