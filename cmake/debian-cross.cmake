# What Debian's cross toolchains share, included by a toolchain file that sets TYCHOBVR_TRIPLET
# (the GNU triplet of the target) and TYCHOBVR_QEMU (the qemu-user program that runs it).
# The target's libraries, Qt's among them, come from Debian's multiarch and live beside the
# build machine's; Qt's tools (moc, rcc, uic) are the build machine's own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${TYCHOBVR_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${TYCHOBVR_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${TYCHOBVR_TRIPLET})

set(QT_HOST_PATH /usr)
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
                OUTPUT_VARIABLE build_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${build_multiarch}/cmake)

# ctest runs the target's programs under emulation; the machines that build have no
# binfmt_misc, so every start goes through qemu explicitly. "-L /" finds the target's dynamic
# loader and libraries where multiarch put them.
find_program(TYCHOBVR_QEMU_PROGRAM ${TYCHOBVR_QEMU} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TYCHOBVR_QEMU_PROGRAM} -L /)
