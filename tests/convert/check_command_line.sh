#!/usr/bin/env bash
# The converter as a user runs it: what it writes on each stream and the exit status for files
# that cannot be read, bytes that are not valid, usage errors, a full disk and a reader that goes
# away early; and its memory on a large input and on one huge line.
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
header="source,line,BT,VT,B,V,R,BT_VT,extrapolated,faint,bessell_V,bessell_B_V,henden_R,henden_I"
header+=",id,ra,dec,e_BT,e_VT,e_B,e_V,e_R,e_B_V,u_B,u_V,u_R,u_B_V,sep,pa,usable,why,known_variable"
row="10.5,10,10.389,9.959,9.743,0.500,0,0,9.946,0.465,9.716,9.492,,,,,,,,,,,,,,,,1,,"

# Checks a run: its exit status, standard output and standard error.
expect() {
  local status=$1 out=$2 err=$3
  shift 3
  local got_out got_err got_status=0
  got_out=$("$@" 2>err.txt) || got_status=$?
  got_err=$(cat err.txt)
  [ "$got_status" = "$status" ] || fail "$*: exit status $got_status, not $status"
  [ "$got_out" = "$out" ] || fail "$*: standard output '$got_out', not '$out'"
  [[ "$got_err" == $err ]] || fail "$*: standard error '$got_err', not '$err'"
}

printf 'BT=10.5 VT=10\n' >a.txt
printf 'BT=10.5 VT=10\n\xff BT=1 VT=1\nBT=10.5 VT=10' >bad.txt
expect 0 "$header"$'\n'"a.txt,1,$row"$'\n'"-,1,$row" "" "$program" --convert a.txt - <a.txt
expect 1 "$header"$'\n'"a.txt,1,$row" "tychobvr: missing.txt: cannot read: No such file or directory" \
  "$program" --convert missing.txt a.txt
expect 1 "$header"$'\n'"bad.txt,1,$row"$'\n'"bad.txt,3,$row" "tychobvr: bad.txt:2: *" \
  "$program" --convert bad.txt
expect 2 "" "tychobvr: unknown encoding 'latin1'*" "$program" --convert --encoding latin1 a.txt
expect 2 "" "tychobvr: *bogus*" "$program" --convert --bogus
LANGUAGE=ja expect 1 "$header" "tychobvr: missing.txt: 読み込めません: *" \
  "$program" --convert missing.txt
# Comparison stars: a position that is none, and options that need one, are usage errors; tagged
# text has no positions, which is said but no failure.
expect 2 "" "tychobvr: --near: 'x' is not a position*" "$program" --convert --near x a.txt
expect 2 "" "tychobvr: --usable needs --near" "$program" --convert --usable a.txt
expect 2 "" "tychobvr: --v: '9:8': MIN is greater than MAX" "$program" --convert --near "1 2" --v 9:8 a.txt
expect 0 "$header" "tychobvr: a.txt: no star has a position*" "$program" --convert --near "10 20" a.txt
# The finder chart: valid SVG that librsvg renders, written whole or not at all.
printf 'RAJ2000\tDEJ2000\tBTmag\tVTmag\n83.8221\t-5.3911\t9.0\t8.5\n83.9\t-5.3911\t9.6\t9.0\n' >field.tsv
expect 2 "" "tychobvr: --chart needs --near" "$program" --convert --chart c.svg field.tsv
expect 2 "" "tychobvr: --chart: 'c.svg': a chart shows a radius of at most 30°" \
  "$program" --convert --near "83.8221 -5.3911" --radius 31 --chart c.svg field.tsv
"$program" --convert --near "83.8221 -5.3911" --chart chart.svg field.tsv >/dev/null 2>&1 ||
  fail "a chart: exit status $?"
xmllint --noout chart.svg 2>err.txt || fail "the chart is no valid XML: $(cat err.txt)"
rsvg-convert -o chart.png chart.svg 2>err.txt || fail "librsvg cannot render the chart: $(cat err.txt)"
mkdir readonly && chmod 555 readonly
status=0
"$program" --convert --near "83.8221 -5.3911" --chart readonly/c.svg field.tsv >/dev/null 2>err.txt ||
  status=$?
if [ "$(id -u)" -ne 0 ]; then
  [ "$status" = 1 ] && grep -q "readonly/c.svg: cannot write the chart" err.txt &&
    [ -z "$(ls readonly)" ] || fail "an unwritable chart: exit status $status, '$(cat err.txt)'"
fi
status=0
"$program" --convert --near "83.8221 -5.3911" --chart missing/c.svg field.tsv >/dev/null 2>err.txt ||
  status=$?
[ "$status" = 1 ] && grep -q "missing/c.svg: cannot write the chart: No such file or directory" err.txt ||
  fail "a chart in no folder: exit status $status, '$(cat err.txt)'"
# gzip cut short inside the second line's VT=10.25, after "VT=10.2": that line gives no row.
printf 'BT=10.5 VT=10\nBT=10.5 VT=10.25\n' | gzip -n >cut.gz
head -c $(($(stat -c %s cut.gz) - 11)) cut.gz >cut-short.gz
expect 1 "$header"$'\n'"-,1,$row" "tychobvr: -: the gzip data is damaged or cut short: *" \
  "$program" --convert <cut-short.gz

# Nothing written may look complete: a full disk is an error.
status=0
"$program" --convert a.txt >/dev/full 2>err.txt || status=$?
[ "$status" = 1 ] && grep -q "tychobvr: cannot write the output" err.txt ||
  fail "a full disk: exit status $status, '$(cat err.txt)'"

# A reader that goes away ends the program quietly.
yes 'BT=10.5 VT=10' | head -n 200000 >many.txt
"$program" --convert many.txt 2>err.txt | head -n 3 >/dev/null
status=${PIPESTATUS[0]}
[ "$status" = 0 ] && [ ! -s err.txt ] || fail "a closed pipe: exit status $status, '$(cat err.txt)'"

# Memory stays small for a large input and for one line of 256 MiB, which is converted whole.
peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
kib=$(yes 'TYC 1234-5678-1 BT=10.500 VT=10.000 n=2' | head -c 512M | peak "$program" --convert)
[ "$kib" -lt 65536 ] || fail "512 MiB of lines take $kib KiB"
line() { printf 'VT=10 BT=9'; head -c 256M /dev/zero | tr '\0' 'x'; printf ' BT=10.5\n'; }
[ "$(line | "$program" --convert | tail -n 1)" = "-,1,$row" ] || fail "the huge line's row"
kib=$(line | peak "$program" --convert)
[ "$kib" -lt 65536 ] || fail "a line of 256 MiB takes $kib KiB"
# And for 1 GiB of catalogue records, and for records in gzip.
record='0001 00008 1| |  2.31750494|  2.23184345|  -16.3|   -9.0| 68| 73| 1.7| 1.8|1958.89|1951.94| 4|1.0|1.0|0.9|1.0|12.146|0.158|12.146|0.223|999| |         |  2.31754222|  2.23186444|1.67|1.54| 88.0|100.8| |-0.2'
kib=$(yes "$record" | head -c 1G | peak "$program" --convert)
[ "$kib" -lt 65536 ] || fail "1 GiB of records takes $kib KiB"
kib=$(yes "$record" | head -c 256M | gzip -1 | peak "$program" --convert)
[ "$kib" -lt 65536 ] || fail "256 MiB of records in gzip take $kib KiB"
# Around a position that none of them is near, whose rows would be held to be sorted.
kib=$(yes "$record" | head -c 1G | peak "$program" --convert --near "12 00 00 +45 00 00")
[ "$kib" -lt 65536 ] || fail "1 GiB of records through --near takes $kib KiB"

[ "$failures" -eq 0 ] || { echo "$failures converter checks failed" >&2; exit 1; }
echo "converter checks passed"
