#!/usr/bin/env bash
# The converter against the tool a user would otherwise reach for, a gawk one-liner with Henden's
# B and V and the line's R: on the same catalogue-like lines (one star a line, about 80
# characters), and on Tycho-2's own records (tyc2.dat, 206 bytes a star), plain and in gzip
# beside zcat piped into it; each is timed three times, in turns with what it is compared to,
# and its best run counts.
#   bash bench/convert_vs_gawk.sh PROGRAM [MIB]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
source "$(dirname "$0")/lib/timing.sh"
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
}' >"$work/stars.txt"
# Cut to size afterwards: a pipe into head would leave gawk to a SIGPIPE whenever head ends first.
truncate -s $((mib * 1024 * 1024)) "$work/stars.txt"
lines=$(wc -l <"$work/stars.txt")

# What a user would write: find both tags, compute the three numbers, print them.
henden='match($0, /BT=([-+0-9.]+)/, b) && match($0, /VT=([-+0-9.]+)/, v) {
  B = b[1] + 0.018 - 0.258 * (b[1] - v[1]); V = v[1] + 0.008 - 0.0988 * (b[1] - v[1])
  printf "%.3f,%.3f,%.3f\n", B, V, V - 0.5 * (B - V) }'

echo "input: $mib MiB, $lines lines; locale ${LC_ALL:-${LANG:-C}}"
stars_gawk() { gawk "$henden" <"$work/stars.txt"; }
stars_gawk_c() { LC_ALL=C gawk "$henden" <"$work/stars.txt"; }
stars_convert() { "$program" --convert <"$work/stars.txt"; }
# The converter last, so that its rows are what is left in the output.
read -r gawk_seconds gawk_c_seconds convert_seconds < <(in_turns stars_gawk stars_gawk_c stars_convert)
rows=$(($(wc -l <"$work/out") - 1))
awk -v mib="$mib" -v g="$gawk_seconds" -v gc="$gawk_c_seconds" -v c="$convert_seconds" -v rows="$rows" 'BEGIN {
  printf "gawk, 3 columns:                 %6.2f s  %7.1f MiB/s\n", g, mib / g
  printf "gawk, 3 columns, LC_ALL=C:       %6.2f s  %7.1f MiB/s\n", gc, mib / gc
  printf "tychobvr --convert, 32 columns:  %6.2f s  %7.1f MiB/s  (%d rows)\n", c, mib / c, rows
  printf "tychobvr --convert / gawk: %.1f times the throughput (%.1f times gawk with LC_ALL=C)\n", g / c, gc / c
}'

seeded_tyc2 $((mib * 1024 * 1024)) >"$work/tyc2.dat"
truncate -s $((mib * 1024 * 1024)) "$work/tyc2.dat"
records=$(wc -l <"$work/tyc2.dat")
gzip -1 -c "$work/tyc2.dat" >"$work/tyc2.dat.gz"

# What a user would write for the catalogue's own file: the fields by their bytes.
substr_henden='{ bt = substr($0, 111, 6); vt = substr($0, 124, 6)
  if (bt ~ /[0-9]/ && vt ~ /[0-9]/) {
    B = bt + 0.018 - 0.258 * (bt - vt); V = vt + 0.008 - 0.0988 * (bt - vt)
    printf "%.3f,%.3f,%.3f\n", B, V, V - 0.5 * (B - V) } }'
echo
echo "input: $mib MiB of tyc2.dat records, $records stars; locale ${LC_ALL:-${LANG:-C}}"
records_gawk() { LC_ALL=C gawk "$substr_henden" <"$work/tyc2.dat"; }
records_convert() { "$program" --convert <"$work/tyc2.dat"; }
read -r substr_seconds records_seconds < <(in_turns records_gawk records_convert)
gzip_convert() { "$program" --convert <"$work/tyc2.dat.gz"; }
gzip_zcat() { zcat <"$work/tyc2.dat.gz" | "$program" --convert; }
read -r gzip_seconds zcat_seconds < <(in_turns gzip_convert gzip_zcat)
awk -v mib="$mib" -v g="$substr_seconds" -v c="$records_seconds" -v z="$gzip_seconds" \
    -v p="$zcat_seconds" 'BEGIN {
  printf "gawk substr(), 3 columns, LC_ALL=C:  %6.2f s  %7.1f MiB/s\n", g, mib / g
  printf "tychobvr --convert, 32 columns:      %6.2f s  %7.1f MiB/s\n", c, mib / c
  printf "tychobvr --convert tyc2.dat.gz:      %6.2f s  %7.1f MiB/s\n", z, mib / z
  printf "zcat tyc2.dat.gz | tychobvr:         %6.2f s  %7.1f MiB/s\n", p, mib / p
  printf "tychobvr --convert / gawk: %.1f times the throughput; gzip read in %.2f the time of zcat |\n", g / c, z / p
}'
