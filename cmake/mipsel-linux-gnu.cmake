# Cross-build for the handheld: 32-bit little-endian MIPS running Linux,
# with Debian's mipsel-linux-gnu compiler. SDL 1.2 and GoogleTest for the
# target come from scripts/cross-setup.sh, which builds them into
# build-mipsel/prefix; the programs are linked statically so that a
# user-mode emulator runs them with nothing else installed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR mipsel)

set(CMAKE_C_COMPILER mipsel-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER mipsel-linux-gnu-g++)

# Libraries and headers for the target come only from Debian's cross libc
# and from the prefix the set-up script fills; host tools still run as such.
if(DEFINED ENV{KETTLEMOOR_CROSS_PREFIX})
  set(KETTLEMOOR_CROSS_PREFIX "$ENV{KETTLEMOOR_CROSS_PREFIX}")
else()
  get_filename_component(KETTLEMOOR_CROSS_PREFIX
    "${CMAKE_CURRENT_LIST_DIR}/../build-mipsel/prefix" ABSOLUTE)
endif()
set(CMAKE_FIND_ROOT_PATH "${KETTLEMOOR_CROSS_PREFIX}" /usr/mipsel-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained binary per program: no target loader or shared
# libraries are needed to run it, and it does not care which C library the
# handheld has. Code that must know (a malloc of its own cannot hand calls
# on to the C library's in a static link) sees KETTLEMOOR_STATIC_LINK.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# 64-bit file offsets: a 32-bit program otherwise cannot list a directory
# whose entries carry 64-bit positions (ext4 on a 64-bit host, as under the
# emulator), and readdir ends early with EOVERFLOW.
set(CMAKE_C_FLAGS_INIT "-DKETTLEMOOR_STATIC_LINK -D_FILE_OFFSET_BITS=64")
set(CMAKE_CXX_FLAGS_INIT "-DKETTLEMOOR_STATIC_LINK -D_FILE_OFFSET_BITS=64")

# The target's programs (the tests, and the art tool the art check runs)
# run under qemu's user-mode emulator.
find_program(KETTLEMOOR_QEMU NAMES qemu-mipsel-static qemu-mipsel)
if(KETTLEMOOR_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${KETTLEMOOR_QEMU}")
endif()
