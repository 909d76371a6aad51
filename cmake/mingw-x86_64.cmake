# Test-only cross build for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64).
# What ships is the 32-bit DLL; this build runs the same sources under a 64-bit Wine where
# the machine cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZAVRIK_MINGW_PREFIX x86_64-w64-mingw32)
set(ZAVRIK_WINE_NAMES wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
