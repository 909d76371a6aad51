# Cross build for 32-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-i686, win32 threads):
# Zavrik.dll as it ships, and the programs that test it under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZAVRIK_MINGW_PREFIX i686-w64-mingw32)

# The win32 threading flavour: nothing to link for threads the project does not have.
find_program(CMAKE_CXX_COMPILER NAMES ${ZAVRIK_MINGW_PREFIX}-g++-win32 ${ZAVRIK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZAVRIK_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${ZAVRIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
