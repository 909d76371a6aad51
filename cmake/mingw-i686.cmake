# Cross build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686): what ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZAVRIK_MINGW_PREFIX i686-w64-mingw32)
set(ZAVRIK_WINE_NAMES wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
