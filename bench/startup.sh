#!/usr/bin/env bash
# Start-up to the first finished tick with a 1,000-entry default list (whole process, under
# Xvfb, median of 5), and the CPU the idle player uses over 60 s in media mode, stopped.
set -euo pipefail
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/home" "$dir/config" "$dir/media"
gst-launch-1.0 -q audiotestsrc num-buffers=20 ! audio/x-raw,rate=22050,channels=1 ! wavenc ! filesink location="$dir/media/t.wav"
for i in $(seq 1 1000); do cp "$dir/media/t.wav" "$dir/media/track$i.wav"; printf '%s\r\n' "$dir/media/track$i.wav"; done > "$dir/home/Default.list"
export SONORELL_HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" SONORELL_CD_DEVICE=none
export SONORELL_AUDIO_SINK="fakesink sync=true" XDG_RUNTIME_DIR="$dir"
xvfb-run -a bash -c '
  times=()
  for run in 1 2 3 4 5 6; do
    start=$(date +%s%N)
    SONORELL_QUIT_AFTER_START=1 "'"$build"'/sonorell"
    end=$(date +%s%N)
    [ $run -gt 1 ] && times+=($(( (end - start) / 1000000 )))
  done
  printf "start-up with 1,000 entries (ms, 5 runs after a warm-up): %s; median %s\n" "${times[*]}" \
    "$(printf "%s\n" "${times[@]}" | sort -n | sed -n 3p)"
  "'"$build"'/sonorell" & pid=$!
  sleep 5
  t0=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  sleep 60
  t1=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  hz=$(getconf CLK_TCK)
  echo "idle CPU over 60 s, media mode, stopped: $(awk -v a=$t0 -v b=$t1 -v hz=$hz "BEGIN{printf \"%.2f\", 100*(b-a)/hz/60}") % of one core"
  kill $pid
'
