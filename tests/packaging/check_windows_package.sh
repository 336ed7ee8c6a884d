#!/usr/bin/env bash
# Checks the Windows installer and zip that a cross-built tree made, under Wine: the installer
# installs silently with its shortcut and uninstall entry, the installed program answers and
# presses, and the uninstaller removes it all. Run inside tests/with_wine.sh.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/errors.sh"
build=$(realpath "$1")
: "${WINEPREFIX:?run inside tests/with_wine.sh}"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/tychobvr-$version-win64-setup.exe
zip=$build/tychobvr-$version-win64.zip
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

echo "checking $(basename "$setup"), $(stat -c %s "$setup") bytes, and $(basename "$zip"), $(stat -c %s "$zip") bytes"
files=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$files" = "LICENSE README.txt tychobvr.com tychobvr.exe " ] || fail "the zip holds: $files"
file "$setup" | grep -q "PE32+ executable (GUI) x86-64" || fail "the installer is no 64-bit program"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TychoBVR'
folder=$(winepath -u 'C:\Program Files\TychoBVR')
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\TychoBVR\TychoBVR.lnk')

# The prefix's Windows version, which a running server keeps until it is started again.
windows_version() {
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
  wineserver -k
  wineserver -w
}

# On Windows 7 the program still answers on the command line, but its window and the installer
# refuse, saying why, and the installer leaves nothing behind.
windows_version win7
out=$(wine "$build/bin/tychobvr.exe" --version | tr -d '\r') || fail "--version on Windows 7 exits $?"
[ "$out" = "tychobvr $version" ] || fail "--version on Windows 7 prints '$out'"
LC_ALL=en_US.UTF-8 TYCHOBVR_OLD_WINDOWS=1 TYCHOBVR_EXE=$(winepath -w "$build/bin/tychobvr.exe") \
  wine "$build/tests/window/win32/tychobvr_e2e_test.exe" --gtest_filter=OldWindowsTest.* \
  >/dev/null || fail "the program on Windows 7"
status=0
wine "$setup" /S || status=$?
wineserver -w
[ "$status" -ne 0 ] || fail "the installer succeeds on Windows 7"
[ ! -e "$folder" ] || fail "the refused installer leaves $(ls -A "$folder")"
! wine reg query "$key" >/dev/null 2>&1 || fail "the refused installer leaves its uninstall entry"
windows_version win10

wine "$setup" /S
wineserver -w
for name in tychobvr.exe tychobvr.com LICENSE README.txt Uninstall.exe; do
  [ -f "$folder/$name" ] || fail "not installed: $name"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no uninstall entry"
for value in "DisplayName.*TychoBVR" "DisplayVersion.*$version" "Publisher.*The TychoBVR developers" \
             "DisplayIcon.*tychobvr.exe" "EstimatedSize.*REG_DWORD.*0x[0-9a-f]*[1-9a-f]"; do
  grep -Eq "$value" <<<"$entry" || fail "the uninstall entry lacks $value"
done

out=$(wine "$folder/tychobvr.exe" --version | tr -d '\r') || fail "--version exits $?"
[ "$out" = "tychobvr $version" ] || fail "--version prints '$out'"
# The console program converts as on Linux, to the byte.
stars=$(dirname "$0")/../convert
wine "$folder/tychobvr.com" --convert --encoding shift_jis <"$stars/stars-shift_jis.txt" |
  cmp -s - "$stars/stars.csv" || fail "the installed tychobvr.com converts otherwise"
# The user's locale named, so that the line has the period whatever the prefix last saw.
LC_ALL=en_US.UTF-8 TYCHOBVR_EXE=$(winepath -w "$folder/tychobvr.exe") \
  wine "$build/tests/window/win32/tychobvr_e2e_test.exe" \
  --gtest_filter=WindowTest.ShowsTheClipboardAndItsLine >/dev/null || fail "the installed program's press"

wine "$folder/Uninstall.exe" /S
wineserver -w
[ ! -e "$folder" ] || fail "left behind: $(ls -A "$folder")"
[ ! -e "$(dirname "$shortcut")" ] || fail "the Start-menu folder is left behind"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left behind"

[ "$failures" -eq 0 ] || { echo "$failures Windows packaging checks failed" >&2; exit 1; }
echo "Windows package checks passed"
