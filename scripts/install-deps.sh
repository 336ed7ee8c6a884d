#!/usr/bin/env bash
# Installs the Debian packages that are missing for "run" (build and start the window) or
# "test" (build and run every test), and for "test" compiles the locales its tests name.
# A machine that has them all needs no network and no root.
set -euo pipefail

# dpkg-dev and file let CPack make the Debian package and work out what it depends on.
run_packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic
              qt6-translations-l10n dpkg-dev file)
# The Windows build: the posix-thread mingw-w64 compilers, Wine to run its tests, NSIS for its
# installer, and unzip to look into the zip.
test_packages=("${run_packages[@]}" libgtest-dev libbenchmark-dev clang libclang-rt-14-dev gawk
               locales xvfb xclip lintian appstream desktop-file-utils groff-base
               g++-mingw-w64-x86-64-posix wine wine64 nsis unzip)
# The locales whose names the tests set, so that every program that asks glibc for them gets
# them; C.UTF-8 is built into glibc.
test_locales=(en_US ja_JP)

case "${1:-}" in
  run) packages=("${run_packages[@]}"); locales=() ;;
  test) packages=("${test_packages[@]}"); locales=("${test_locales[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed' || missing+=("$package")
done
uncompiled=()
for name in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qx "$name.utf8" || uncompiled+=("$name")
done
[ ${#missing[@]} -eq 0 ] && [ ${#uncompiled[@]} -eq 0 ] && exit 0

steps=()
[ ${#missing[@]} -eq 0 ] || steps+=("apt-get update" "apt-get install -y ${missing[*]}")
for name in "${uncompiled[@]}"; do steps+=("localedef -i $name -c -f UTF-8 $name.UTF-8"); done

if [ "$(id -u)" -ne 0 ]; then
  command=$(printf ' && %s' "${steps[@]}")
  command=${command# && }
  {
    echo "$0: missing: ${missing[*]} ${uncompiled[*]/%/.UTF-8 locale}"
    echo "This needs root once. As root, run:"
    echo "  $command"
    echo "then run this command again. sudo is one way to be root, where you may use it:"
    echo "  sudo sh -c '$command'"
  } >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
for step in "${steps[@]}"; do
  echo "$step"
  $step
done
