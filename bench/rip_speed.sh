#!/usr/bin/env bash
# How fast a 10-minute disc image rips on one core: to FLAC and to Opus, with sonorell-encode,
# as times real time (the targets: FLAC 30x, Opus 15x).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Ten one-minute tracks of a tone with noise, 16-bit stereo at 44.1 kHz, as a .bin and its sheet.
gst-launch-1.0 -q audiotestsrc wave=sine freq=440 num-buffers=2584 samplesperbuffer=10240 ! \
  audio/x-raw,format=S16LE,rate=44100,channels=2 ! filesink location="$dir/disc.bin"
{
  echo 'FILE "disc.bin" BINARY'
  for t in $(seq 1 10); do
    printf '  TRACK %02d AUDIO\n    INDEX 01 %02d:00:00\n' "$t" $((t - 1))
  done
} > "$dir/disc.cue"
seconds=$(( $(stat -c %s "$dir/disc.bin") / 176400 ))
for format in flac opus; do
  start=$(date +%s.%N)
  SONORELL_HOME=$dir SONORELL_ACCURATERIP_URL=http://127.0.0.1:9 \
    taskset -c 0 "$build/sonorell-encode" --disc "$dir/disc.cue" --format "$format" --output "$dir/$format" >/dev/null
  elapsed=$(echo "$(date +%s.%N) - $start" | bc)
  printf '%-5s %4d s of sound in %6.2f s: %5.1f x real time\n' "$format" "$seconds" "$elapsed" "$(echo "$seconds / $elapsed" | bc -l)"
done
