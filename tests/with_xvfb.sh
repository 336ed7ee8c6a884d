#!/usr/bin/env bash
# Runs a command under a private Xvfb server on a free display, and stops the server after.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }

# A display whose lock file is free may still be taken where the lock files are not seen, as
# by another root that shares the network's abstract sockets: the next number is tried then.
display=""
server=""
log=""
trap '[ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true; }; rm -f "$log"' EXIT
for number in $(seq 90 199); do
  [ ! -e "/tmp/.X${number}-lock" ] && [ ! -e "/tmp/.X11-unix/X${number}" ] || continue
  rm -f "$log"
  log=$(mktemp --tmpdir "tychobvr-xvfb-$number.XXXXXX.log")
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
  server=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X${number}" ] && { display=$number; break; }
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
  done
  [ -n "$display" ] && break
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=""
  grep -q "server already running" "$log" && continue
  cat "$log" >&2
  echo "$0: Xvfb did not start on :$number: its output is above" >&2
  exit 1
done
[ -n "$display" ] || { echo "$0: no free X display number" >&2; exit 1; }

DISPLAY=":$display" "$@"
