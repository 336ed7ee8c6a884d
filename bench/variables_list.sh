#!/usr/bin/env bash
# A list of known variables the size of VSX (2.3 million, in the form VizieR writes B/vsx/vsx:
# banner, header, units and dashes, names and types as long as VSX's) with the whole real Tycho-2:
# --near with a 1° radius over the plain catalogue and both supplements, with the list and
# without, each timed three times in turns, the best run counting; then the peak resident memory
# of the plain --convert of the whole catalogue with the list, and of --near with it.
#   bash bench/variables_list.sh PROGRAM [VARIABLES]
# The catalogue is the real-catalogue tests' cache (scripts/fetch-tycho2.sh).
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
source "$(dirname "$0")/lib/timing.sh"
program=$(realpath "$1")
variables=${2:-2300000}
catalogue=$(bash "$(dirname "$0")/../scripts/fetch-tycho2.sh")
work=$(mktemp -d /var/tmp/tychobvr-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

zcat "$catalogue"/tyc2.dat.[0-9][0-9].gz >"$work/tyc2.dat"
cp "$catalogue"/suppl_1.dat "$catalogue"/suppl_2.dat "$work/"
# Seeded variables spread evenly over the sphere, named and typed as VSX's are.
gawk -v count="$variables" 'BEGIN {
  srand(3)
  print "#\n#   VizieR Astronomical Server\n#Name: B/vsx/vsx\n#Title: Variable Star indeX (VSX)"
  print "_RAJ2000\t_DEJ2000\tOID\tName\tV\tType\tmax\tn_max\tmin\tn_min\tPeriod\tRAJ2000\tDEJ2000"
  print "deg\tdeg\t\t\t\t\tmag\t\tmag\t\td\tdeg\tdeg"
  print "---------\t---------\t-------\t------------------------------\t-\t------------------------------\t------\t------\t------\t------\t------------\t---------\t---------"
  split("ASASSN-V J|ZTF J|Gaia DR2 |CSS_J|NSVS |ATO J|WISE J|V", prefixes, "|")
  split("EW|EA|RRAB|SR|ROT|M|DSCT|L|GCAS:|BY|RS|VAR", types, "|")
  pi = atan2(0, -1)
  for (i = 1; i <= count; ++i) {
    ra = rand() * 360; z = 2 * rand() - 1; dec = atan2(z, sqrt(1 - z * z)) * 180 / pi
    name = prefixes[1 + int(rand() * 8)] sprintf("%09.5f%+09.5f", ra, dec)
    printf "%09.5f\t%+09.5f\t%d\t%s\t0\t%s\t%.3f\tV\t%.3f\tV\t%.6f\t%09.5f\t%+09.5f\n",
      ra, dec, i, name, types[1 + int(rand() * 12)], 10 + rand() * 6, 11 + rand() * 6,
      rand() * 500, ra, dec
  }
}' >"$work/vsx.tsv"
list_mib=$(($(stat -c %s "$work/vsx.tsv") / 1048576))
position="05 35 17.3 -05 23 28"

cd "$work"
plain() { "$program" --convert --near "$position" --radius 1 tyc2.dat suppl_1.dat suppl_2.dat; }
listed() { "$program" --convert --near "$position" --radius 1 tyc2.dat suppl_1.dat suppl_2.dat vsx.tsv; }
read -r plain_s listed_s < <(in_turns plain listed)
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
whole_kib=$(peak "$program" --convert tyc2.dat suppl_1.dat suppl_2.dat vsx.tsv)
near_kib=$(peak "$program" --convert --near "$position" --radius 1 tyc2.dat suppl_1.dat suppl_2.dat vsx.tsv)
summary=$("$program" --convert --near "$position" --radius 1 tyc2.dat suppl_1.dat suppl_2.dat vsx.tsv 2>&1 >/dev/null | tail -n 1)
echo "the whole real Tycho-2 (526 MB plain) and both supplements; a list of $variables variables, $list_mib MiB"
awk -v p="$plain_s" -v l="$listed_s" -v w="$whole_kib" -v n="$near_kib" 'BEGIN {
  printf "--near, radius 1°, without a list:  %6.3f s\n", p
  printf "--near, radius 1°, with the list:   %6.3f s  (%.2f times as long)\n", l, l / p
  printf "peak memory, --convert of everything with the list: %.1f MiB\n", w / 1024
  printf "peak memory, --near with the list:                  %.1f MiB\n", n / 1024
}'
echo "$summary"
