#!/usr/bin/env bash
# Runs the README's two commands as a newcomer would: in a new minimal Debian 12 root
# (debootstrap --variant=minbase, with only git and ca-certificates), on a clone of a commit of
# this repository, as root under env -i with no locale. Needs root and the network to the Debian
# mirror that this machine's apt sources name.
#   fresh-debian.sh [COMMIT]        (HEAD by default; uncommitted changes are not seen)
# Downloaded .deb files are kept in TYCHOBVR_APT_CACHE (/var/cache/tychobvr-fresh-debian), and the
# real Tycho-2 that the tests fetch in TYCHOBVR_TYCHO2_CACHE (/var/cache/tychobvr-tycho2), for the
# next run; nothing else carries over, and the root is unmounted and deleted on any exit.
set -euo pipefail
source "$(dirname "$0")/lib/errors.sh"
cd "$(dirname "$0")/.."

say() { printf '\n=== fresh Debian 12: %s\n' "$*"; }
die() { echo "${0##*/}: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || die "needs root, for debootstrap, chroot and mount: run it as root"
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}") || die "no commit ${1:-HEAD} here"
if ! command -v debootstrap >/dev/null; then
  say "installing debootstrap on this machine"
  DEBIAN_FRONTEND=noninteractive apt-get install -y debootstrap ||
    { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y debootstrap; }
fi

# The Debian mirror and the security mirror that this machine's apt sources name, in either
# format (one-line or deb822); deb.debian.org where they name none.
uris=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
         2>/dev/null | grep -v '^[[:space:]]*#' | grep -oE 'https?://[^[:space:]]+' | sort -u || true)
mirror=$(grep -E '/debian/?$' <<<"$uris" | head -n 1 || true)
security=$(grep -E '/debian-security/?$' <<<"$uris" | head -n 1 || true)
mirror=${mirror:-http://deb.debian.org/debian}
security=${security:-http://deb.debian.org/debian-security}

cache=${TYCHOBVR_APT_CACHE:-/var/cache/tychobvr-fresh-debian}
tycho2=${TYCHOBVR_TYCHO2_CACHE:-/var/cache/tychobvr-tycho2}
mkdir -p "$cache/archives/partial" "$cache/debootstrap"
# On disk, not on a tmpfs: the test command's packages and build trees take about 6 GB.
work=$(mktemp -d /var/tmp/tychobvr-fresh-debian.XXXXXX)
root=$work/root
inner=""
# Whatever still runs inside the root, also in a process group of its own, as timeout's is.
stop_root_processes() {
  local link pid
  for link in /proc/[0-9]*/root; do
    pid=${link#/proc/}
    pid=${pid%/root}
    if [ "$(readlink "$link" 2>/dev/null)" = "$root" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  done
}
cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  if [ -n "$inner" ]; then
    kill -TERM -- "-$inner" 2>/dev/null || true
    stop_root_processes
    wait "$inner" 2>/dev/null || true
  fi
  stop_root_processes
  # The mounts belong to the inner process's own mount namespace and went with it, so nothing
  # below $work is mounted here; --one-file-system makes sure of it.
  rm -rf --one-file-system "$work"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Everything that mounts runs in a private mount namespace, so that its mounts end with it
# however it ends, a SIGKILL included; and in a process group of its own, which cleanup stops.
export root mirror security commit cache tycho2
set -m
unshare --mount --propagation private bash -euo pipefail -c '
  source scripts/lib/errors.sh
  say() { printf "\n=== fresh Debian 12: %s\n" "$*"; }
  started=$SECONDS
  minutes() { echo "$(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"; }

  say "debootstrap --variant=minbase bookworm from $mirror"
  mkdir -p "$root"
  if ! debootstrap --variant=minbase --include=git,ca-certificates --cache-dir="$cache/debootstrap" \
         bookworm "$root" "$mirror" >"$root.log" 2>&1; then
    tail -n 40 "$root.log" >&2
    [ ! -f "$root/debootstrap/debootstrap.log" ] || tail -n 40 "$root/debootstrap/debootstrap.log" >&2
    echo "debootstrap failed: its output is above" >&2
    exit 1
  fi
  printf "deb %s bookworm main\ndeb %s bookworm-updates main\ndeb %s bookworm-security main\n" \
    "$mirror" "$mirror" "$security" >"$root/etc/apt/sources.list"
  printf "127.0.0.1 localhost\n::1 localhost ip6-localhost ip6-loopback\n" >"$root/etc/hosts"
  cp /etc/resolv.conf "$root/etc/resolv.conf"

  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
  mount --bind "$cache/archives" "$root/var/cache/apt/archives"
  # The real Tycho-2, fetched by the tests as any machine fetches it, kept like the packages.
  mkdir -p "$tycho2" "$root/var/cache/tychobvr-tycho2"
  mount --bind "$tycho2" "$root/var/cache/tychobvr-tycho2"

  # The certificate authorities of this machine'"'"'s own network (an intercepting proxy'"'"'s, say), as
  # any machine on it trusts them: like resolv.conf, part of reaching the registries, not of the
  # project.
  if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
    mkdir -p "$root/usr/local/share/ca-certificates"
    cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
    chroot "$root" update-ca-certificates >/dev/null
  fi

  # apt reads a suite whole or not at all: where the mirror serves one index of the security
  # suite that its Release does not list (a proxy holding an old copy, a sync part-way through),
  # apt drops that suite for every architecture, and the Raspberry Pi packages no longer match
  # the versions of the PC ones. The root then goes without the security suite, with a word:
  # bookworm and bookworm-updates are a point release whose packages all fit together. This is the
  # network'"'"'s fault, not the project'"'"'s, so it is told and worked around, not hidden.
  native=$(chroot "$root" dpkg --print-architecture)
  architectures=(-o "APT::Architectures::=$native")
  [ "$native" != amd64 ] || architectures+=(-o APT::Architectures::=arm64 -o APT::Architectures::=armhf)
  if ! chroot "$root" apt-get "${architectures[@]}" update >"$root.update.log" 2>&1 ||
     grep -q "^E: " "$root.update.log"; then
    if grep "^E: " "$root.update.log" | grep -v "Some index files failed" |
         grep -qv "/debian-security/"; then
      cat "$root.update.log" >&2
      echo "apt-get update failed in the new root: its output is above" >&2
      exit 1
    fi
    grep -A4 "^E: Failed" "$root.update.log" >&2 || true
    echo "warning: the mirror serves the security suite inconsistently (above); the new root goes" \
         "without bookworm-security" >&2
    printf "deb %s bookworm main\ndeb %s bookworm-updates main\n" "$mirror" "$mirror" \
      >"$root/etc/apt/sources.list"
  fi

  git clone --quiet --no-local --no-checkout . "$root/root/tychobvr"
  git -C "$root/root/tychobvr" checkout --quiet --detach "$commit"
  say "cloned $(git log -1 --format="%h %s" "$commit")"

  # A newcomer as root: no locale, no display, nothing of this environment but CI.
  newcomer=(chroot "$root" /usr/bin/env -i HOME=/root CI="${CI:-}"
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c)
  # Each command has a limit well inside CI'"'"'s 90 minutes, so that a hang fails with a word.
  limited() {
    local limit=$1 command=$2 status=0
    timeout --kill-after=30 "$limit" "${newcomer[@]}" "cd /root/tychobvr && $command" || status=$?
    [ "$status" -ne 124 ] || echo "$command took longer than $limit and was stopped" >&2
    [ "$status" -eq 0 ] ||
      { echo "$command failed with status $status, after $(minutes): its output is above" >&2; exit 1; }
  }

  say "bash scripts/run.sh --version"
  # Appended: a log file that stderr goes to would be cut short if tee opened it anew.
  version=$(limited 25m "bash scripts/run.sh --version" | tee -a /dev/stderr | tail -n 1)
  [[ "$version" == "tychobvr "* ]] || { echo "bash scripts/run.sh --version printed \"$version\"" >&2; exit 1; }
  say "the run command took $(minutes)"

  say "bash scripts/test.sh"
  limited 60m "bash scripts/test.sh"
  say "both commands passed, in $(minutes) with debootstrap"
' &
inner=$!
set +m
wait "$inner"
