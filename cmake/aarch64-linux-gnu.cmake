# Cross-builds for 64-bit Raspberry Pi OS (Debian's arm64: Pi 3, 4, 5 and Zero 2 W) with Debian's
# cross compiler and multiarch, and runs the programs under qemu-user.
#   cmake -S . -B build/arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(TYCHOBVR_TRIPLET aarch64-linux-gnu)
set(TYCHOBVR_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
