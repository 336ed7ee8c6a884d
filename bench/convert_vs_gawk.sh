#!/usr/bin/env bash
# The converter against the tool a user would otherwise reach for, a gawk one-liner with Henden's
# B and V and the line's R, on the same catalogue-like lines (one star a line, about 80
# characters); each is timed three times and its best run counts.
#   bash bench/convert_vs_gawk.sh PROGRAM [MIB]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
program=$(realpath "$1")
mib=${2:-256}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gawk -v bytes=$((mib * 1024 * 1024)) 'BEGIN {
  srand(1)
  for (written = 0; written < bytes; written += length(line) + 1) {
    bt = 7 + rand() * 5; vt = bt - 0.1 - rand() * 1.6
    line = sprintf("TYC %04d-%05d-1  RA=%9.5f DE=%+9.5f  BT=%6.3f VT=%6.3f  HIP=%06d q=%d",
                   rand() * 9999, rand() * 99999, rand() * 360, rand() * 180 - 90, bt, vt,
                   rand() * 120000, rand() * 9)
    print line
  }
}' | head -c $((mib * 1024 * 1024)) >"$work/stars.txt"
lines=$(wc -l <"$work/stars.txt")

# What a user would write: find both tags, compute the three numbers, print them.
henden='match($0, /BT=([-+0-9.]+)/, b) && match($0, /VT=([-+0-9.]+)/, v) {
  B = b[1] + 0.018 - 0.258 * (b[1] - v[1]); V = v[1] + 0.008 - 0.0988 * (b[1] - v[1])
  printf "%.3f,%.3f,%.3f\n", B, V, V - 0.5 * (B - V) }'

best() {
  local fastest=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" <"$work/stars.txt" >"$work/out" 2>/dev/null
    end=$(date +%s.%N)
    fastest=$(awk -v a="$start" -v b="$end" -v f="$fastest" 'BEGIN { t = b - a; print (f == "" || t < f) ? t : f }')
  done
  echo "$fastest"
}

echo "input: $mib MiB, $lines lines; locale ${LC_ALL:-${LANG:-C}}"
gawk_seconds=$(best gawk "$henden")
gawk_c_seconds=$(LC_ALL=C best gawk "$henden")
convert_seconds=$(best "$program" --convert)
rows=$(($(wc -l <"$work/out") - 1))
awk -v mib="$mib" -v g="$gawk_seconds" -v gc="$gawk_c_seconds" -v c="$convert_seconds" -v rows="$rows" 'BEGIN {
  printf "gawk, 3 columns:                 %6.2f s  %7.1f MiB/s\n", g, mib / g
  printf "gawk, 3 columns, LC_ALL=C:       %6.2f s  %7.1f MiB/s\n", gc, mib / gc
  printf "tychobvr --convert, 14 columns:  %6.2f s  %7.1f MiB/s  (%d rows)\n", c, mib / c, rows
  printf "tychobvr --convert / gawk: %.1f times the throughput (%.1f times gawk with LC_ALL=C)\n", g / c, gc / c
}'
