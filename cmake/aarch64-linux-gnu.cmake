# Cross build for aarch64 with Debian's cross compiler (g++-aarch64-linux-gnu); its
# programs run under qemu-user (qemu-aarch64 -L /usr/aarch64-linux-gnu PROGRAM).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
# GCC notes that std::pair arguments are passed as C++14 did before GCC 10.1: an ABI
# note about other objects, none of which this build links with.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")
