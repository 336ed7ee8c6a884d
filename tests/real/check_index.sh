#!/usr/bin/env bash
# Fields of --near read by Tycho-2's index.dat against the same fields read record by record, on
# the whole real catalogue: tyc2.dat whole, split in twenty, and split in gzip as CDS gives it.
# The rows must be the same bytes, their source and line apart where the files differ.
#   check_index.sh PROGRAM WORK CATALOGUE
# WORK holds tyc2.dat whole and suppl_1.dat without an index; CATALOGUE the files as fetched.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/errors.sh"
program=$1
work=$2
catalogue=$3
fail() {
  echo "${0##*/}: $1:" >&2
  cat "$2" >&2
  exit 1
}

mkdir -p "$work/whole" "$work/split"
ln -f "$work/tyc2.dat" "$work/suppl_1.dat" "$work/whole/"
cp "$catalogue/index.dat" "$work/whole/"
split -l 127000 -d -a 2 "$work/tyc2.dat" "$work/split/tyc2.dat."
ln -f "$work/suppl_1.dat" "$work/split/"
cp "$catalogue/index.dat" "$work/split/"

# A split file's rows as the whole file's: the record's number in tyc2.dat, gzip or not.
as_whole() {
  awk -F, -v OFS=, 'NR > 1 && match($1, /tyc2\.dat\.[0-9][0-9](\.gz)?$/) {
    part = substr($1, RSTART + 9, 2) + 0; $1 = "tyc2.dat"; $2 += part * 127000 } { print }'
}

# Poles, 0h, region edges (2.5° of RA at the equator), fields of 10°, and some anywhere.
fields=(
  "0 90|1" "0 -90|1" "45 89.8|10" "200 -89.95|2" "300 -88.5|1" "359.99 0.2|1" "0.01 -45|1"
  "0.005 60|10" "180 0|10" "97.5 20|1" "52.5 5.0|1" "121.88 1.0|1" "337.29276758 58.4152036|1"
  "83.8221 -5.3911|1" "266.41683 -29.00781|1" "10.68471 41.26875|0.5" "279.23473 38.78369|10"
  "150 -60|3" "230 75|1" "20 -30|0.1"
)
checked=0
for field in "${fields[@]}" "${fields[0]}|2030" "${fields[13]}|1950" "${fields[10]}|2100"; do
  IFS='|' read -r position radius epoch <<<"$field"
  options=(--convert --near "$position" --radius "$radius")
  [[ -n $epoch ]] && options+=(--epoch "$epoch")
  (cd "$work" && "$program" "${options[@]}" tyc2.dat suppl_1.dat >scan.csv 2>scan.errors) ||
    fail "the scan of $field" "$work/scan.errors"
  for files in whole split gzip; do
    directory=$work/$files
    pattern=tyc2.dat  # expanded in the files' own folder
    case $files in
      split) pattern='tyc2.dat.??' ;;
      gzip)
        directory=$catalogue
        pattern='tyc2.dat.??.gz'
        ;;
    esac
    # shellcheck disable=SC2086
    (cd "$directory" && "$program" "${options[@]}" $pattern suppl_1.dat >"$work/indexed.csv" \
      2>"$work/indexed.errors") || fail "the $files files by the index, $field" "$work/indexed.errors"
    grep -q "only their records are read" "$work/indexed.errors" ||
      fail "the index was not used for the $files files, $field" "$work/indexed.errors"
    if ! cmp -s "$work/scan.csv" <(as_whole <"$work/indexed.csv"); then
      echo "${0##*/}: the $files files by the index differ from the scan, $field:" >&2
      diff "$work/scan.csv" <(as_whole <"$work/indexed.csv") | head -20 >&2
      exit 1
    fi
    checked=$((checked + 1))
  done
done
echo "fields by index.dat: $checked fields the same as the scan of the whole catalogue"
