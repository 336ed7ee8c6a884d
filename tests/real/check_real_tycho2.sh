#!/usr/bin/env bash
# The converter on the whole real Tycho-2, as CDS distributes it: every star against astropy's
# reading of the same files by their ReadMe, fields of --near against astropy's SkyCoord,
# well-known variables marked in their own fields; and positions moved by --epoch against
# astropy's apply_space_motion; and fields read by the catalogue's own index.dat as by a scan.
#   check_real_tycho2.sh PROGRAM
# The catalogue comes from Debian's source package tycho2, fetched once into a cache outside the
# tree by scripts/fetch-tycho2.sh.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/errors.sh"
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
catalogue=$(bash "$here/../../scripts/fetch-tycho2.sh")
work=$(mktemp -d /var/tmp/tychobvr-real.XXXXXX)
trap 'rm -rf "$work"' EXIT

# astropy reads tyc2.dat by the name its ReadMe gives it: the split files joined.
zcat "$catalogue"/tyc2.dat.[0-9][0-9].gz >"$work/tyc2.dat"
cp "$catalogue"/ReadMe "$catalogue"/suppl_1.dat "$catalogue"/suppl_2.dat "$work/"
started=$SECONDS
(cd "$work" && "$program" --convert tyc2.dat suppl_1.dat suppl_2.dat >all.csv 2>all.errors) || {
  echo "${0##*/}: tychobvr --convert of the whole catalogue failed:" >&2
  cat "$work/all.errors" >&2
  exit 1
}
echo "tychobvr --convert of the whole Tycho-2 and both supplements: $((SECONDS - started)) s"
cat "$work/all.errors"
/usr/bin/python3 "$here/compare_real_tycho2.py" "$program" "$work" "$here/famous-variables.tsv"
/usr/bin/python3 "$here/check_epoch.py" "$program"
bash "$here/check_index.sh" "$program" "$work" "$catalogue"
