#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the g++ build with the window,
# the whole real Tycho-2 against astropy, the core under AddressSanitizer and UndefinedBehaviorSanitizer, a bounded fuzzing run, the run
# command itself with the Debian package of its Release tree, the page built with Emscripten and
# tested in Chromium and Firefox, the Windows program, its installer
# and its zip cross-built with mingw-w64 and tested under Wine, and the Raspberry Pi builds for
# arm64 and armhf, cross-built and tested under qemu-user with their Debian packages.
set -euo pipefail
source "$(dirname "$0")/lib/errors.sh"
cd "$(dirname "$0")/.."
# Nothing may depend on the caller's locale: the tools read UTF-8, and every test that needs
# another locale names its own.
export LANG=C.UTF-8
unset LANGUAGE LC_ALL
bash scripts/install-deps.sh test

jobs=$(nproc)
fuzz_seconds=${TYCHOBVR_FUZZ_SECONDS:-60}

step() { printf '\n=== %s\n' "$*"; }

# -march=native lets the compilers fuse multiply-adds where they may (clang does by default), so
# the bit-for-bit test bites.
step "g++: core, window, tests and benchmarks"
cmake -S . -B build/test-gcc -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
      -DCMAKE_CXX_FLAGS=-march=native -DTYCHOBVR_WERROR=ON -DTYCHOBVR_BUILD_BENCHMARKS=ON
cmake --build build/test-gcc -j "$jobs"
ctest --test-dir build/test-gcc --output-on-failure -j "$jobs"

step "The whole real Tycho-2 against astropy, and well-known variables in their fields"
bash tests/real/check_real_tycho2.sh build/test-gcc/bin/tychobvr

step "clang: core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/test-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DTYCHOBVR_WERROR=ON -DTYCHOBVR_BUILD_WINDOW=OFF \
      "-DCMAKE_CXX_FLAGS=-march=native -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build build/test-sanitize -j "$jobs"
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/test-sanitize --output-on-failure -j "$jobs"

step "clang: libFuzzer for ${fuzz_seconds} s"
cmake -S . -B build/test-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DTYCHOBVR_WERROR=ON -DTYCHOBVR_BUILD_WINDOW=OFF \
      -DTYCHOBVR_BUILD_TESTS=OFF -DTYCHOBVR_BUILD_FUZZERS=ON -DTYCHOBVR_FUZZ_SECONDS="$fuzz_seconds"
cmake --build build/test-fuzz -j "$jobs"
ctest --test-dir build/test-fuzz --output-on-failure

step "The run command's build: the program starts, and its Debian package"
version=$(bash scripts/run.sh --version | tail -n 1)
[[ "$version" == "tychobvr "* ]] || { echo "bash scripts/run.sh --version printed '$version'" >&2; exit 1; }
cmake --build build/release -j "$jobs" --target package
bash tests/packaging/check_package.sh build/release

step "Emscripten: the page, and its tests in Chromium and Firefox against the native program"
# Emscripten's optimizer loads acorn from Debian's Node.js modules, which another Node.js does
# not look in by itself.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/web -j "$jobs"
page=build/web/bin/tychobvr.html
size=$(stat -c %s "$page")
[ "$size" -lt $((1536 * 1024)) ] || { echo "$page is $size bytes, over 1.5 MB" >&2; exit 1; }
echo "$page: $size bytes"
unzip -Z1 build/web/tychobvr-*-web.zip | sort | tr '\n' ' ' | grep -qx 'LICENSE README.txt tychobvr.html ' ||
  { echo "the page's zip holds $(unzip -Z1 build/web/tychobvr-*-web.zip | tr '\n' ' ')" >&2; exit 1; }
(cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund)
# A field of the real Tycho-2 by its index.dat, from the real-catalogue step's cache.
TYCHOBVR_TYCHO2=$(bash scripts/fetch-tycho2.sh) node tests/web/browser_test.mjs "$page" build/release/bin/tychobvr \
  build/test-gcc/tests/window/page_expectations build/web

# Wine and the cross builds run on a PC; elsewhere, such as on a Raspberry Pi itself, the tests
# above are all there is.
if [ "$(dpkg --print-architecture)" != amd64 ]; then
  step "Skipped on $(dpkg --print-architecture): the Windows build under Wine and the Raspberry Pi cross builds, which need a PC"
  exit 0
fi

step "mingw-w64: the Windows program, installer and zip, tested under Wine"
cmake -S . -B build/test-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DTYCHOBVR_WERROR=ON -DTYCHOBVR_BUILD_BENCHMARKS=ON
cmake --build build/test-windows -j "$jobs" --target all package
# One Wine prefix and one display for both, inside the build tree; its server stops after.
bash tests/with_wine.sh build/test-windows/wineprefix bash -c \
  'ctest --test-dir build/test-windows --output-on-failure -j "$1" &&
   bash tests/packaging/check_windows_package.sh build/test-windows' _ "$jobs"

for architecture in arm64 armhf; do
  case "$architecture" in
    arm64) toolchain=cmake/aarch64-linux-gnu.cmake ;;
    armhf) toolchain=cmake/arm-linux-gnueabihf.cmake ;;
  esac
  step "Raspberry Pi, $architecture: cross-built, its tests under qemu-user, its Debian package"
  cmake -S . -B "build/test-$architecture" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DTYCHOBVR_WERROR=ON
  cmake --build "build/test-$architecture" -j "$jobs" --target all package
  ctest --test-dir "build/test-$architecture" --output-on-failure -j "$jobs"
  bash tests/packaging/check_package.sh "build/test-$architecture" "$architecture" build/release
done
