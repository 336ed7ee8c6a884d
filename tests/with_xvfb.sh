#!/usr/bin/env bash
# Runs a command under a private Xvfb server on a free display, and stops the server after.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

display=""
for number in $(seq 90 199); do
  if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
    display=$number
    break
  fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

log=$(mktemp --tmpdir "tychobvr-xvfb-$display.XXXXXX.log")
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true; rm -f "$log"' EXIT
started=""
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X${display}" ] && { started=yes; break; }
  kill -0 "$server" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$started" ]; then
  cat "$log" >&2
  echo "$0: Xvfb did not start on :$display: its output is above" >&2
  exit 1
fi

DISPLAY=":$display" "$@"
