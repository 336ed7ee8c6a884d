#!/usr/bin/env bash
# A field of --near on the whole real Tycho-2 read by the catalogue's own index.dat against the
# scan of every record: the twenty plain files and the twenty gzip files as CDS gives them, each
# way timed in turns, ROUNDS runs each (default 5), the best run counting. Then what a run costs
# that reads nothing, and the bytes the index has read.
#   bash bench/near_by_index.sh PROGRAM [ROUNDS]
# The catalogue is the real-catalogue tests' cache, fetched by scripts/fetch-tycho2.sh.
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
program=$(realpath "$1")
rounds=${2:-5}
catalogue=$(bash "$(dirname "$0")/../scripts/fetch-tycho2.sh")
work=$(mktemp -d /var/tmp/tychobvr-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The same files with and without the index beside them.
mkdir "$work/plain" "$work/plain-indexed" "$work/gzip"
for file in "$catalogue"/tyc2.dat.??.gz; do
  name=$(basename "$file" .gz)
  zcat "$file" >"$work/plain/$name"
  ln "$work/plain/$name" "$work/plain-indexed/$name"
  ln -s "$file" "$work/gzip/$name.gz"
done
for folder in plain plain-indexed gzip; do cp "$catalogue/suppl_1.dat" "$work/$folder/"; done
cp "$catalogue/index.dat" "$work/plain-indexed/"
: >"$work/empty.dat"

# δ Cephei, and a field at the north pole.
fields=("22 29 10.27 +58 24 54.7" "02 31 49.1 +89 15 51")

# best COMMAND...: the fastest of the rounds, in seconds.
best() {
  local fastest="" start end seconds
  for ((round = 0; round < rounds; round++)); do
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    fastest=$(awk -v t="$seconds" -v f="$fastest" 'BEGIN { print (f == "" || t < f) ? t : f }')
  done
  echo "$fastest"
}

echo "input: the real Tycho-2, tyc2.dat.00-19 and suppl_1.dat; a field of 1°; best of $rounds runs"
for position in "${fields[@]}"; do
  near=(--convert --near "$position" --radius 1)
  # Once, for the page cache and for the rows and the records read.
  (cd "$work/plain-indexed" && "$program" "${near[@]}" tyc2.dat.?? suppl_1.dat >"$work/indexed.csv" \
    2>"$work/indexed.errors")
  (cd "$work/plain" && "$program" "${near[@]}" tyc2.dat.?? suppl_1.dat >"$work/scan.csv" 2>/dev/null)
  cmp -s "$work/indexed.csv" "$work/scan.csv" || {
    echo "${0##*/}: the index gave other rows than the scan" >&2
    exit 1
  }
  read_by_index=$(grep -o 'of [0-9,]* read' "$work/indexed.errors" | tr -dc 0-9)
  scan_plain=$(best "$program" "${near[@]}" "$work"/plain/tyc2.dat.?? "$work/plain/suppl_1.dat")
  index_plain=$(best "$program" "${near[@]}" "$work"/plain-indexed/tyc2.dat.?? \
    "$work/plain-indexed/suppl_1.dat")
  scan_gzip=$(best "$program" "${near[@]}" "$work"/gzip/tyc2.dat.??.gz "$work/gzip/suppl_1.dat")
  index_gzip=$(best "$program" "${near[@]}" "$catalogue"/tyc2.dat.??.gz "$catalogue/suppl_1.dat")
  nothing=$(best "$program" "${near[@]}" "$work/empty.dat")
  awk -v p="$position" -v sp="$scan_plain" -v ip="$index_plain" -v sg="$scan_gzip" \
    -v ig="$index_gzip" -v n="$nothing" -v r="$read_by_index" -v rows="$(($(wc -l <"$work/scan.csv") - 1))" 'BEGIN {
    printf "field %s, %d rows:\n", p, rows
    printf "  plain files, every record:  %8.1f ms\n", sp * 1000
    printf "  plain files, by index.dat:  %8.1f ms  (%.0f times faster; %d records, %.1f MiB read)\n", ip * 1000, sp / ip, r, r * 207 / 1048576
    printf "  gzip files, every record:   %8.1f ms\n", sg * 1000
    printf "  gzip files, by index.dat:   %8.1f ms  (%.0f times faster)\n", ig * 1000, sg / ig
    printf "  a run that reads nothing:   %8.1f ms\n", n * 1000
  }'
done
