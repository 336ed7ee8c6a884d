#!/usr/bin/env bash
# Runs a command under a private Xvfb server on a free display, and stops the server after.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

display=""
for number in $(seq 90 199); do
  if [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ]; then
    display=$number
    break
  fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done

DISPLAY=":$display" "$@"
