# The part of the MinGW-w64 toolchain files that does not depend on the
# target processor. KV_MINGW_TRIPLE names the compiler prefix.
set(CMAKE_SYSTEM_NAME Windows)

# The "posix" flavour of the compilers brings std::thread and std::mutex.
find_program(CMAKE_C_COMPILER NAMES ${KV_MINGW_TRIPLE}-gcc-posix ${KV_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KV_MINGW_TRIPLE}-g++-posix ${KV_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KV_MINGW_TRIPLE}-windres REQUIRED)

# Libraries and packages come from the MinGW sysroot and from the prefix of
# cross-built dependencies, never
# from the build machine. KV_WIN_DEPS is that prefix (scripts/windows-deps.sh
# fills it: GoogleTest, stb, libzip, libwebp).
if(NOT KV_WIN_DEPS AND DEFINED ENV{KV_WIN_DEPS})
  set(KV_WIN_DEPS $ENV{KV_WIN_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_TRIPLE} ${KV_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(KV_WIN_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${KV_WIN_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# Whole static programs: the C and C++ runtimes and winpthread go inside,
# and zlib (Debian's libz-mingw-w64-dev has both; FindZLIB would take the
# DLL's import library).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(ZLIB_USE_STATIC_LIBS ON)

# Tests and tools built here run through Wine, in a Wine prefix of their own
# inside the build directory, quietly. Debian installs wine64 outside PATH.
find_program(KV_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(KV_WINE64 AND KV_MINGW_TRIPLE MATCHES "^x86_64")
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix WINEDEBUG=-all ${KV_WINE64})
endif()
# Test programs list their tests when ctest runs, not right after linking:
# a start of Wine may take longer than the 5 s that listing is given on a
# busy machine, and the 32-bit programs cannot run here at all.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
