#!/usr/bin/env bash
# Installs the Debian packages that are missing for "run" (build and start the window) or
# "test" (build and run every test). A machine that has them all needs no network.
set -euo pipefail

# dpkg-dev and file let CPack make the Debian package and work out what it depends on.
run_packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins qt6-wayland fonts-ipafont-gothic
              qt6-translations-l10n dpkg-dev file)
# The Windows build: the posix-thread mingw-w64 compilers, Wine to run its tests, NSIS for its
# installer, and unzip to look into the zip.
test_packages=("${run_packages[@]}" libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
               locales xvfb xclip lintian appstream desktop-file-utils groff-base
               g++-mingw-w64-x86-64-posix wine wine64 nsis unzip)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg -s "$package" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing ${missing[*]}"
apt-get update
DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
