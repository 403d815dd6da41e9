#!/usr/bin/env bash
# Runs a command on a private virtual display.
#   with-xvfb.sh WIDTHxHEIGHTxDEPTH command [args...]
# -noreset: a server resets when its last client leaves, and drops a client still connecting then;
# the accessibility bus launcher closes its display just as the player opens one.
# -displayfd: the server takes the first number it can listen on and writes it down, so two of
# these started together never race for one number. Variables here are prefixed: the command
# inherits what the caller exported.
set -euo pipefail
xvfb_screen=$1
shift
xvfb_dir=$(mktemp -d)
export XAUTHORITY=$xvfb_dir/Xauthority
touch "$XAUTHORITY"
xvfb_cookie=$(mcookie)
# The server takes every cookie in the file whatever display it names; clients look for theirs.
xauth -q add :0 . "$xvfb_cookie"
Xvfb -displayfd 3 -screen 0 "$xvfb_screen" -nolisten tcp -noreset -auth "$XAUTHORITY" 3>"$xvfb_dir/display" 2>/dev/null &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null; rm -rf "$xvfb_dir"' EXIT
for _ in $(seq 600); do
  [ "$(wc -l <"$xvfb_dir/display")" -ge 1 ] && break
  kill -0 $xvfb_pid 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
xvfb_number=$(head -1 "$xvfb_dir/display")
[ -n "$xvfb_number" ] || { echo "Xvfb gave no display number" >&2; exit 1; }
xauth -q add ":$xvfb_number" . "$xvfb_cookie"
export DISPLAY=:$xvfb_number
# The number is written when the server listens; one answer proves a client gets in.
for _ in $(seq 100); do xprop -root -len 1 >/dev/null 2>&1 && break; sleep 0.05; done
xprop -root -len 1 >/dev/null || { echo "Xvfb on :$xvfb_number does not answer" >&2; exit 1; }
"$@"
