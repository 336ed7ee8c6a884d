#!/usr/bin/env bash
# Installs the Debian packages that are missing for "run" (build and start the window) or
# "test" (build and run every test), and for "test" compiles the locales its tests name.
# A machine that has them all needs no network and no root.
set -euo pipefail
source "$(dirname "$0")/lib/errors.sh"

# dpkg-dev and file let CPack make the Debian package and work out what it depends on; zlib
# reads gzip sources in the converter; Qt SVG draws the finder chart in the window.
run_packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-qpa-plugins qt6-wayland
              fonts-ipafont-gothic qt6-translations-l10n dpkg-dev file zlib1g-dev)
# gawk is what the converter's benchmark is measured against, and time measures its memory.
# astropy reads the real Tycho-2 by its ReadMe, independently of the converter; xz-utils unpacks
# the catalogue's source package; xmllint and rsvg-convert check and render the finder chart.
# Emscripten, with the header-only fast_float and {fmt} for what its libc++ lacks, builds the
# page; Chromium and Firefox run its tests; unzip looks into the zips.
test_packages=("${run_packages[@]}" libgtest-dev libbenchmark-dev clang libclang-rt-14-dev gawk
               time locales xvfb xclip lintian appstream desktop-file-utils groff-base
               emscripten libfast-float-dev libfmt-dev chromium firefox-esr unzip python3-astropy
               xz-utils libxml2-utils librsvg2-bin)
# On a PC, also the Windows build (the posix-thread mingw-w64 compilers, Wine to run its tests,
# NSIS for its installer) and the Raspberry Pi builds (Debian's
# cross compilers, Qt for arm64 and armhf from Debian's multiarch, qemu-user to run them).
pc_test_packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64 nsis
                  crossbuild-essential-arm64 crossbuild-essential-armhf qemu-user
                  qt6-base-dev:arm64 qt6-base-dev:armhf qt6-svg-dev:arm64 qt6-svg-dev:armhf
                  zlib1g-dev:arm64 zlib1g-dev:armhf)
pi_architectures=(arm64 armhf)
# Wine's 64-bit loader recommends the 32-bit one, wine32, which is Multi-Arch: foreign: once the
# Pi's architectures are added, apt satisfies that recommendation with wine32:armhf. /usr/bin/wine
# prefers the 32-bit loader wherever one is installed, and an ARM one makes every Windows program
# fail with "Exec format error". So the install keeps that loader out ("wine32:armhf-" tells apt
# not to take it) and removes it where an earlier install brought it in. The 64-bit loader alone
# runs every Windows program that the tests start.
pc_unwanted_packages=(wine32:armhf)
# The locales whose names the tests set, so that every program that asks glibc for them gets
# them; C.UTF-8 is built into glibc.
test_locales=(en_US ja_JP)

architectures=()
unwanted_packages=()
case "${1:-}" in
  run) packages=("${run_packages[@]}"); locales=() ;;
  test)
    packages=("${test_packages[@]}")
    # The page's browser tests run on Node.js 18 or later with npm: Debian's, unless the machine
    # has a Node.js of its own, whose package provides npm and conflicts with Debian's.
    command -v node >/dev/null || packages+=(nodejs)
    command -v npm >/dev/null || packages+=(npm)
    locales=("${test_locales[@]}")
    if [ "$(dpkg --print-architecture)" = amd64 ]; then
      packages+=("${pc_test_packages[@]}")
      architectures=("${pi_architectures[@]}")
      unwanted_packages=("${pc_unwanted_packages[@]}")
    fi
    ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

unadded=()
for architecture in "${architectures[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$architecture" || unadded+=("$architecture")
done
# Whether a package is installed: for the machine's own architecture (or for all), unless its
# name says another one, as in qt6-base-dev:arm64.
native=$(dpkg --print-architecture)
installed() {
  local name=${1%%:*} wanted=${1#*:}
  [ "$wanted" != "$1" ] || wanted="$native|all"
  dpkg-query -W -f='${Architecture} ${db:Status-Status}\n' "$name" 2>/dev/null |
    grep -Eqx "($wanted) installed"
}
missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done
present=()
for package in "${unwanted_packages[@]}"; do
  ! installed "$package" || present+=("$package")
done
uncompiled=()
for name in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qx "$name.utf8" || uncompiled+=("$name")
done
# Wine that cannot start a Windows program passes every check above, so it is tried once.
check_wine() {
  installed wine || return 0
  local output
  if ! output=$(wine --version 2>&1); then
    echo "$0: Wine is installed but cannot start: 'wine --version' said:" >&2
    echo "$output" >&2
    exit 1
  fi
}
if [ ${#unadded[@]} -eq 0 ] && [ ${#missing[@]} -eq 0 ] && [ ${#present[@]} -eq 0 ] &&
   [ ${#uncompiled[@]} -eq 0 ]; then
  [ ${#unwanted_packages[@]} -eq 0 ] || check_wine
  exit 0
fi

steps=()
for architecture in "${unadded[@]}"; do steps+=("dpkg --add-architecture $architecture"); done
if [ ${#missing[@]} -ne 0 ] || [ ${#present[@]} -ne 0 ]; then
  steps+=("apt-get update" "apt-get install -y ${missing[*]} ${unwanted_packages[*]/%/-}")
fi
for name in "${uncompiled[@]}"; do steps+=("localedef -i $name -c -f UTF-8 $name.UTF-8"); done

if [ "$(id -u)" -ne 0 ]; then
  command=$(printf ' && %s' "${steps[@]}")
  command=${command# && }
  {
    echo "$0: missing: ${unadded[*]/#/architecture } ${missing[*]} ${uncompiled[*]/%/.UTF-8 locale}"
    [ ${#present[@]} -eq 0 ] || echo "$0: in the way: ${present[*]}"
    echo "This needs root once. As root, run:"
    echo "  $command"
    echo "then run this command again. sudo is one way to be root, where you may use it:"
    echo "  sudo sh -c '$command'"
  } >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
unread=false
for step in "${steps[@]}"; do
  echo "$step"
  if [ "$step" = "apt-get update" ]; then
    # A mirror part-way through its sync serves an index of the wrong size; apt then keeps the
    # others, and the install below says whether what is needed could be found without it.
    for try in 1 2; do
      $step && break
      if [ "$try" -eq 2 ]; then
        echo "$0: apt-get update failed twice; going on with the indexes it could read" >&2
        unread=true
      else
        echo "$0: apt-get update failed; trying again in 10 s" >&2
        sleep 10
      fi
    done
  elif [[ "$step" == "apt-get install "* ]] && $unread; then
    # Without one architecture's index, apt may find no versions of a library that match across
    # the machine's architectures, and says only that packages are held broken.
    if ! $step; then
      echo "$0: the install failed after apt could not read some of the mirror's indexes" \
           "(see apt-get update above); when the mirror has finished its sync, run this again" >&2
      exit 1
    fi
  else
    $step
  fi
done
[ ${#unwanted_packages[@]} -eq 0 ] || check_wine
