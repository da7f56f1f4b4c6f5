# Cross-compiling for 32-bit Windows with MinGW-w64 (Debian: mingw-w64,
# g++-mingw-w64-i686). The programs link statically, so they need no
# MinGW DLLs beside them. scripts/cross-windows.sh uses this file.
set(KV_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
