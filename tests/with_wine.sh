#!/usr/bin/env bash
# Runs a command with a Wine prefix of its own, made and set up on first use, on a private Xvfb
# display, and stops the prefix's server after:  with_wine.sh PREFIX COMMAND...
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/errors.sh"
[ $# -ge 2 ] || { echo "usage: $0 PREFIX COMMAND..." >&2; exit 2; }
command -v wine >/dev/null || { echo "wine is not installed" >&2; exit 1; }
here=$(dirname "$(realpath "$0")")
export WINEPREFIX
WINEPREFIX=$(realpath -m "$1")
shift
export WINEDEBUG=-all
# No menu entries or file types for the host's desktop, and no Mono or Gecko to install.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

stop_server() { wineserver -k 2>/dev/null || true; }
trap stop_server EXIT

# Each step returns on failure: the caller tests the status, which keeps set -e from acting here.
setup_prefix() {
  wine wineboot --init || return
  # A new prefix reports Windows 7, where the window refuses to start: it is Windows 10 here.
  # Unmanaged windows close at once without a window manager. The label's font renders with
  # IPA's metric-compatible Gothic, and Japanese in captions falls back to it.
  local settings
  settings=$(mktemp --suffix=.reg)
  { printf '\xff\xfe'
    iconv -f UTF-8 -t UTF-16LE <<REG
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:00000060
REG
  } >"$settings" || return
  wine regedit /S "$(winepath -w "$settings")" || return
  rm -f "$settings"
  wineserver -w || return
  touch "$WINEPREFIX/.tychobvr-windows10"
}

if [ -z "${DISPLAY:-}" ] || [ -z "${TYCHOBVR_OWN_DISPLAY:-}" ]; then
  exec env TYCHOBVR_OWN_DISPLAY=1 bash "$here/with_xvfb.sh" bash "$0" "$WINEPREFIX" "$@"
fi
if [ ! -f "$WINEPREFIX/.tychobvr-windows10" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  log=$WINEPREFIX.setup.log
  if ! setup_prefix >"$log" 2>&1; then
    cat "$log" >&2
    echo "$0: setting up the Wine prefix $WINEPREFIX failed: its output is above ($log)" >&2
    exit 1
  fi
fi
"$@"
