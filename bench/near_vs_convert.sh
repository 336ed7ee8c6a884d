#!/usr/bin/env bash
# Comparison stars around a position in a whole catalogue: tychobvr --convert --near with radii of
# 1° and 5° against the same --convert without --near, and against a gawk cone search over the
# same records (the cosine rule on RAmdeg and DEmdeg, B and V printed for the stars inside), on
# seeded tyc2.dat records; each is timed three times in turns and its best run counts. Then the
# converter's peak resident memory under --near.
#   bash bench/near_vs_convert.sh PROGRAM [MIB]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
source "$(dirname "$0")/lib/timing.sh"
program=$(realpath "$1")
mib=${2:-1024}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seeded_tyc2 $((mib * 1024 * 1024)) >"$work/tyc2.dat"
truncate -s $((mib * 1024 * 1024)) "$work/tyc2.dat"
records=$(wc -l <"$work/tyc2.dat")
# A field on the celestial equator, where the seeded stars are as dense as anywhere.
position="06 00 00 +00 00 00"

# What a user would write: the cosine rule against the radius's cosine, then Henden's B and V.
cone='BEGIN { d = atan2(0, -1) / 180; c = cos(r * d); s0 = sin(de0 * d); c0 = cos(de0 * d) }
  $3 != "" && sin($4 * d) * s0 + cos($4 * d) * c0 * cos(($3 - ra0) * d) >= c {
    bt = substr($0, 111, 6); vt = substr($0, 124, 6)
    if (bt ~ /[0-9]/) printf "%.3f,%.3f\n", bt + 0.018 - 0.258 * (bt - vt), vt + 0.008 - 0.0988 * (bt - vt) }'

echo "input: $mib MiB of tyc2.dat records, $records stars; field $position"
whole() { "$program" --convert "$work/tyc2.dat"; }
near1() { "$program" --convert --near "$position" --radius 1 "$work/tyc2.dat"; }
near5() { "$program" --convert --near "$position" --radius 5 "$work/tyc2.dat"; }
gawk1() { LC_ALL=C gawk -F'|' -v ra0=90 -v de0=0 -v r=1 "$cone" "$work/tyc2.dat"; }
gawk5() { LC_ALL=C gawk -F'|' -v ra0=90 -v de0=0 -v r=5 "$cone" "$work/tyc2.dat"; }
read -r whole_s near1_s near5_s gawk1_s gawk5_s < <(in_turns whole near1 near5 gawk1 gawk5)
rows() { "$@" 2>/dev/null | tail -n +2 | wc -l; }
near1_rows=$(rows near1)
near5_rows=$(rows near5)
gawk1_rows=$(gawk1 | wc -l)
gawk5_rows=$(gawk5 | wc -l)
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
near5_kib=$(peak "$program" --convert --near "$position" --radius 5 "$work/tyc2.dat")
whole_kib=$(peak "$program" --convert "$work/tyc2.dat")
awk -v mib="$mib" -v w="$whole_s" -v n1="$near1_s" -v n5="$near5_s" -v g1="$gawk1_s" \
    -v g5="$gawk5_s" -v r1="$near1_rows" -v r5="$near5_rows" -v q1="$gawk1_rows" \
    -v q5="$gawk5_rows" -v k5="$near5_kib" -v kw="$whole_kib" 'BEGIN {
  printf "tychobvr --convert, every row:         %6.2f s  %7.1f MiB/s\n", w, mib / w
  printf "tychobvr --convert --near, radius 1°:  %6.2f s  %7.1f MiB/s  (%d rows; gawk found %d)\n", n1, mib / n1, r1, q1
  printf "tychobvr --convert --near, radius 5°:  %6.2f s  %7.1f MiB/s  (%d rows; gawk found %d)\n", n5, mib / n5, r5, q5
  printf "gawk cone search, radius 1°:           %6.2f s  %7.1f MiB/s\n", g1, mib / g1
  printf "gawk cone search, radius 5°:           %6.2f s  %7.1f MiB/s\n", g5, mib / g5
  printf "--near takes %.2f (1°) and %.2f (5°) of the time without it; %.1f and %.1f times gawk'"'"'s throughput\n", n1 / w, n5 / w, g1 / n1, g5 / n5
  printf "peak resident memory: %.1f MiB with --near (5°), %.1f MiB without\n", k5 / 1024, kw / 1024
}'
