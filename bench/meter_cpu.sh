#!/usr/bin/env bash
# CPU the player uses over 30 s with the level meter open on a live capture source, against the
# same 30 s without it (whole process, under Xvfb).
set -euo pipefail
build=$(realpath "${1:-build}")
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$0" "$build"; fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/home" "$dir/config"
export XDG_CONFIG_HOME="$dir/config" SONORELL_CD_DEVICE=none SONORELL_HOME="$dir/home"
export SONORELL_AUDIO_SINK="fakesink sync=true" XDG_RUNTIME_DIR="$dir"
export SONORELL_CAPTURE_SOURCE="audiotestsrc is-live=true wave=pink-noise ! audio/x-raw,rate=44100,channels=2 ! identity"
cpu_over_30s() {
  "$build/sonorell" 2>/dev/null & pid=$!
  sleep 5
  t0=$(awk '{print $14+$15}' /proc/$pid/stat)
  sleep 30
  t1=$(awk '{print $14+$15}' /proc/$pid/stat)
  kill $pid; wait $pid || true
  awk -v a=$t0 -v b=$t1 -v hz=$(getconf CLK_TCK) 'BEGIN{printf "%.2f", 100*(b-a)/hz/30}'
}
# Data.dat with record 4 (the meter) set: 514 bytes, a 16-bit 1 at offset 384.
python3 -c "import sys; b=bytearray(514); b[384]=1; open(sys.argv[1],'wb').write(b)" "$dir/home/Data.dat"
with=$(cpu_over_30s)
rm -f "$dir/home/Data.dat"
without=$(cpu_over_30s)
echo "level meter over 30 s with live capture: ${with} % of one core (the player without it: ${without} %)"
