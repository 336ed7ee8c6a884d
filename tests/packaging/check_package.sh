#!/usr/bin/env bash
# Checks the Debian package that a Release tree built: the Debian and freedesktop.org tools
# accept it, it holds what a desktop program installs, its program answers on the command line
# without a display, and apt can resolve what it depends on.
#   check_package.sh BUILD [ARCHITECTURE REFERENCE-BUILD]
# A package for another architecture is checked as well: its fields and its program's CPU, its
# program run under qemu-user, and its other files the same as in the reference build's package.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/errors.sh"
# The checkers read UTF-8 files (the Japanese manual page, desktop entry and AppStream data),
# whatever locale the caller has.
export LC_ALL=C.UTF-8
build=$(realpath "$1")
architecture=${2:-$(dpkg --print-architecture)}
reference=${3:-}
emulator=()
case "$architecture" in
  "$(dpkg --print-architecture)") machine="" ;;
  arm64) machine="ARM aarch64"; emulator=(qemu-aarch64 -L /) ;;
  armhf) machine="ARM, EABI5"; emulator=(qemu-arm -L /) ;;
  *) echo "no check for $architecture" >&2; exit 2 ;;
esac
debs=("$build"/tychobvr_*_"$architecture".deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no single package in $build" >&2; exit 1; }
deb=${debs[0]}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Runs a checker whose every word of output is a complaint.
silent() { local out; out=$("$@" 2>&1) || true; [ -z "$out" ] || fail "$*: $out"; }

echo "checking $(basename "$deb"), $(stat -c %s "$deb") bytes"
lintian --fail-on error,warning "$deb" || fail "lintian"

dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-deb -f "$deb" Architecture)" = "$architecture" ] ||
  fail "Architecture: $(dpkg-deb -f "$deb" Architecture), not $architecture"
if [ -n "$machine" ]; then
  file -L "$root/usr/bin/tychobvr" | grep -q "ELF.*$machine" ||
    fail "the program is not for $architecture: $(file -L "$root/usr/bin/tychobvr")"
fi
if [ -n "$reference" ]; then
  # Everything but the program itself is the same, to the byte, as in the reference package.
  others() { dpkg-deb -I "$1" md5sums | grep -v ' usr/bin/tychobvr$'; }
  reference_deb=$(ls "$(realpath "$reference")"/tychobvr_*_"$(dpkg --print-architecture)".deb)
  diff <(others "$reference_deb") <(others "$deb") >/dev/null ||
    fail "other files than in $(basename "$reference_deb"): $(diff <(others "$reference_deb") <(others "$deb") | head -3)"
fi
share=$root/usr/share
for path in usr/bin/tychobvr \
            usr/share/applications/org.tychobvr.TychoBVR.desktop \
            usr/share/icons/hicolor/scalable/apps/org.tychobvr.TychoBVR.svg \
            usr/share/icons/hicolor/256x256/apps/org.tychobvr.TychoBVR.png \
            usr/share/metainfo/org.tychobvr.TychoBVR.metainfo.xml \
            usr/share/man/man1/tychobvr.1.gz usr/share/man/ja/man1/tychobvr.1.gz \
            usr/share/doc/tychobvr/copyright usr/share/doc/tychobvr/changelog.gz; do
  [ -f "$root/$path" ] || fail "not in the package: /$path"
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for package in fonts-ipafont-gothic qt6-translations-l10n qt6-wayland; do
  [[ ", $recommends," == *", $package,"* ]] || fail "Recommends lacks $package: $recommends"
done

entry=$share/applications/org.tychobvr.TychoBVR.desktop
silent desktop-file-validate "$entry"
grep -qx "Exec=tychobvr" "$entry" || fail "the desktop entry does not start /usr/bin/tychobvr"
grep -qx "Icon=org.tychobvr.TychoBVR" "$entry" || fail "the desktop entry names another icon"
for key in "Name\[ja\]" "Comment\[ja\]"; do
  grep -q "^$key=" "$entry" || fail "the desktop entry lacks $key"
done
metainfo=$share/metainfo/org.tychobvr.TychoBVR.metainfo.xml
appstream=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $appstream"
! grep -E '^[EW]:' <<<"$appstream" || fail "appstreamcli complains"
grep -q "<release version=\"$version\"" "$metainfo" || fail "no AppStream release $version"
for element in name summary p; do
  grep -q "<$element xml:lang=\"ja\">" "$metainfo" || fail "no Japanese $element in the AppStream data"
done
silent groff -ww -z -man <(gzip -dc "$share/man/man1/tychobvr.1.gz")
# The Japanese page is UTF-8, whatever the caller's locale says.
silent groff -ww -z -k -K utf8 -Tutf8 -man <(gzip -dc "$share/man/ja/man1/tychobvr.1.gz")

# No display of any kind may be reachable: env -i leaves DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM unset.
program=$root/usr/bin/tychobvr
run() { env -i "${emulator[@]}" "$@"; }
out=$(run "$program" --version) || fail "--version exits $?"
[ "$out" = "tychobvr $version" ] || fail "--version prints '$out'"
out=$(run "$program" --help) || fail "--help exits $?"
[[ "$out" == *"Usage:"*"--version"* ]] || fail "--help prints '$out'"
if out=$(run "$program" --no-such-option 2>&1); then fail "an unknown option is accepted"; fi
[[ "$out" == *"no-such-option"* ]] || fail "the error does not name the option: '$out'"
# With no display at all it says what it needs instead of aborting.
status=0
out=$(run "$program" 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "with no display it ends with $status"
[[ "$out" == "tychobvr: "*"graphical session"* ]] || fail "with no display it prints '$out'"
# Qt's own options reach Qt: the window opens and runs until it is stopped.
status=0
env -i timeout 2 "${emulator[@]}" "$program" -platform offscreen -style fusion >/dev/null 2>&1 ||
  status=$?
[ "$status" -eq 124 ] || fail "-platform offscreen -style fusion ended with $status"

apt-get install --simulate "$deb" >/dev/null || fail "apt cannot resolve the dependencies"

[ "$failures" -eq 0 ] || { echo "$failures packaging checks failed" >&2; exit 1; }
echo "package checks passed"
