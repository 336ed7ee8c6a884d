# Cross-builds 64-bit Windows programs with Debian's mingw-w64 and runs them under Wine.
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix-thread compilers: std::thread and std::mutex, which GoogleTest needs, exist only there.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and the thread library linked in, so a program needs no DLL beyond
# Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest runs the Windows programs under Wine, in a prefix inside the build tree and never in
# ~/.wine; tests/with_wine.sh sets that prefix up and gives it a display.
find_program(TYCHOBVR_WINE NAMES wine wine64 wine-stable)
if(TYCHOBVR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all
                                    ${TYCHOBVR_WINE})
endif()
