# Cross-compiles for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu, against the arm64
# libraries of Debian's multiarch packages (libpng-dev:arm64, libgtest-dev:arm64, ...; see
# scripts/setup.sh). The test programs run under qemu-aarch64 (qemu-user), started by ctest
# itself, so no binfmt registration is needed.
#
#   cmake -S . -B build-aarch64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(VELMIRE_CROSS_TRIPLET aarch64-linux-gnu)

set(CMAKE_C_COMPILER ${VELMIRE_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VELMIRE_CROSS_TRIPLET}-g++)

# The cross compiler's own runtime lives in /usr/aarch64-linux-gnu; the multiarch packages put
# their headers in /usr/include (shared with the build machine) and their libraries in
# /usr/lib/aarch64-linux-gnu, which the cross compiler searches by itself.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMIRE_CROSS_TRIPLET} /usr)
set(CMAKE_LIBRARY_ARCHITECTURE ${VELMIRE_CROSS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must not hand the build machine's libraries to the target's link: only the arm64
# folder of the multiarch tree (the frame servers' headers come through PKG_CONFIG_PATH,
# cmake/FrameServers.cmake keeps their headers alone).
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${VELMIRE_CROSS_TRIPLET}/pkgconfig:/usr/share/pkgconfig)

# The programs run with the arm64 C library of the multiarch packages (libc6:arm64, whose loader
# is /lib/ld-linux-aarch64.so.1): the cross compiler's copy in /usr/aarch64-linux-gnu must not be
# handed to qemu (-L), as its loader would then meet the multiarch libc.so.6 of another build,
# and such a pair can hang.
find_program(VELMIRE_QEMU_AARCH64 qemu-aarch64)
if(VELMIRE_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMIRE_QEMU_AARCH64})
endif()
