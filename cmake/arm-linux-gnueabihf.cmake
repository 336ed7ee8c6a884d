# Cross-builds for 32-bit Raspberry Pi OS (Debian's armhf, ARMv7: Pi 2, 3, 4, 5 and Zero 2 W, not
# the ARMv6 Pi 1, Zero and Zero W) with Debian's cross compiler and multiarch, and runs the
# programs under qemu-user.
#   cmake -S . -B build/armhf -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/arm-linux-gnueabihf.cmake
set(CMAKE_SYSTEM_PROCESSOR arm)
set(TYCHOBVR_TRIPLET arm-linux-gnueabihf)
set(TYCHOBVR_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
