#!/usr/bin/env bash
# Fetches the whole Tycho-2 catalogue as CDS distributes it (tyc2.dat.00 to .19 in gzip,
# suppl_1.dat, suppl_2.dat, index.dat and the ReadMe) from Debian's source package tycho2, once,
# into a cache outside the tree, and prints the folder that holds the files.
#   fetch-tycho2.sh            (the cache: TYCHOBVR_TYCHO2_CACHE, /var/cache/tychobvr-tycho2 by default)
# The source package comes through apt with a deb-src entry of its own for the machine's Debian
# release and mirror, in lists of its own, so that the machine's apt sources stay as they are.
# The download needs root, as apt does; otherwise the exact root command is printed.
set -euo pipefail
source "$(dirname "$0")/lib/errors.sh"

die() { echo "${0##*/}: $*" >&2; exit 1; }

cache=${TYCHOBVR_TYCHO2_CACHE:-/var/cache/tychobvr-tycho2}
catalogue=$cache/tycho2
# The catalogue is complete once its last file is in place: it is unpacked beside and moved.
if [ -f "$catalogue/index.dat" ] && [ -f "$catalogue/tyc2.dat.19.gz" ]; then
  echo "$catalogue"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  {
    echo "${0##*/}: the real Tycho-2 is not in $cache yet; fetching it needs root once. As root, run:"
    echo "  bash $(cd "$(dirname "$0")" && pwd)/${0##*/}"
    echo "then run this command again."
  } >&2
  exit 1
fi

# The release and mirror that the machine's apt sources name, in either format.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
uris=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
         2>/dev/null | grep -v '^[[:space:]]*#' | grep -oE 'https?://[^[:space:]]+' | sort -u || true)
mirror=$(grep -E '/debian/?$' <<<"$uris" | head -n 1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

mkdir -p "$cache"
apt_dir=$cache/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
echo "deb-src $mirror $codename main" >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o "APT::Sandbox::User=root")

echo "${0##*/}: fetching Debian's source package tycho2 from $mirror ($codename)" >&2
apt-get "${apt_options[@]}" update >"$apt_dir/update.log" 2>&1 ||
  { cat "$apt_dir/update.log" >&2; die "apt-get update of the deb-src list failed (above)"; }
download=$cache/download
rm -rf "$download"
mkdir -p "$download"
(cd "$download" && apt-get "${apt_options[@]}" source --download-only tycho2) >"$apt_dir/source.log" 2>&1 ||
  { cat "$apt_dir/source.log" >&2; die "apt-get source --download-only tycho2 failed (above)"; }
orig=$(ls "$download"/tycho2_*.orig.tar.* 2>/dev/null | head -n 1)
[ -n "$orig" ] || die "the source package holds no tycho2_*.orig.tar.*: $(ls "$download")"

unpacked=$cache/unpacking
rm -rf "$unpacked"
mkdir -p "$unpacked"
tar --no-same-owner -xf "$orig" -C "$unpacked"
index=$(find "$unpacked" -name index.dat | head -n 1)
[ -n "$index" ] || die "$orig holds no index.dat"
folder=$(dirname "$index")
for file in ReadMe suppl_1.dat suppl_2.dat tyc2.dat.00 tyc2.dat.19; do
  [ -e "$folder/$file" ] || [ -e "$folder/$file.gz" ] || die "$orig holds no $file beside index.dat"
done
# The split files as CDS serves them, in gzip; the others plain, as the ReadMe lists them.
for file in "$folder"/tyc2.dat.[0-9][0-9]; do
  [ -e "$file" ] && gzip -n -6 "$file"
done
for file in "$folder"/*.gz; do
  case "$file" in */tyc2.dat.*) ;; *) gzip -d "$file" ;; esac
done
rm -rf "$catalogue"
mv "$folder" "$catalogue"
rm -rf "$unpacked" "$download"
echo "$catalogue"
