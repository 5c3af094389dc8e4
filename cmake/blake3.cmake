# BLAKE3, the reference C library, through Debian's packages:
#  1. libblake3-dev (newer Debian): its library and header;
#  2. else, or when cross-compiling, the C sources that librust-blake3-dev installs
#     under /usr/share/cargo/registry/blake3-*/c, built here as a static library
#     with the x86-64 Unix assembly kernels (or the portable code elsewhere).
# Provides the target `ostrel_blake3`. The sources are never copied into the tree.

# A cross build takes the sources: the system's library is for the build machine.
if(NOT CMAKE_CROSSCOMPILING)
  find_path(BLAKE3_SYSTEM_INCLUDE blake3.h PATHS /usr/include NO_CACHE)
  find_library(BLAKE3_SYSTEM_LIBRARY NAMES blake3 NO_CACHE)
endif()

if(BLAKE3_SYSTEM_INCLUDE AND BLAKE3_SYSTEM_LIBRARY)
  message(STATUS "BLAKE3: system library ${BLAKE3_SYSTEM_LIBRARY}")
  add_library(ostrel_blake3 INTERFACE)
  target_include_directories(ostrel_blake3 INTERFACE ${BLAKE3_SYSTEM_INCLUDE})
  target_link_libraries(ostrel_blake3 INTERFACE ${BLAKE3_SYSTEM_LIBRARY})
  return()
endif()

set(OSTREL_BLAKE3_SOURCE_DIR "" CACHE PATH "Directory of the BLAKE3 reference C sources (blake3.c ...)")
if(NOT OSTREL_BLAKE3_SOURCE_DIR)
  file(GLOB _blake3_dirs LIST_DIRECTORIES true /usr/share/cargo/registry/blake3-*/c)
  list(SORT _blake3_dirs COMPARE NATURAL ORDER DESCENDING)
  foreach(_d IN LISTS _blake3_dirs)
    if(EXISTS "${_d}/blake3.c" AND EXISTS "${_d}/blake3.h")
      set(OSTREL_BLAKE3_SOURCE_DIR "${_d}")
      break()
    endif()
  endforeach()
endif()
if(NOT OSTREL_BLAKE3_SOURCE_DIR OR NOT EXISTS "${OSTREL_BLAKE3_SOURCE_DIR}/blake3.c")
  message(FATAL_ERROR "BLAKE3 not found: install libblake3-dev or librust-blake3-dev (apt)")
endif()
message(STATUS "BLAKE3: building the reference C sources of ${OSTREL_BLAKE3_SOURCE_DIR}")

set(_b3 "${OSTREL_BLAKE3_SOURCE_DIR}")
set(_b3_sources ${_b3}/blake3.c ${_b3}/blake3_dispatch.c ${_b3}/blake3_portable.c)
set(_b3_defs "")
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$" AND UNIX
   AND EXISTS "${_b3}/blake3_avx512_x86-64_unix.S")
  enable_language(ASM)
  list(APPEND _b3_sources
       ${_b3}/blake3_sse2_x86-64_unix.S ${_b3}/blake3_sse41_x86-64_unix.S
       ${_b3}/blake3_avx2_x86-64_unix.S ${_b3}/blake3_avx512_x86-64_unix.S)
else()
  list(APPEND _b3_defs BLAKE3_NO_SSE2 BLAKE3_NO_SSE41 BLAKE3_NO_AVX2 BLAKE3_NO_AVX512 BLAKE3_USE_NEON=0)
endif()

add_library(ostrel_blake3 STATIC ${_b3_sources})
target_include_directories(ostrel_blake3 SYSTEM PUBLIC ${_b3})
target_compile_definitions(ostrel_blake3 PRIVATE ${_b3_defs})
set_target_properties(ostrel_blake3 PROPERTIES POSITION_INDEPENDENT_CODE ON C_STANDARD 99)
# Third-party code: its warnings are not ours.
target_compile_options(ostrel_blake3 PRIVATE -w)
