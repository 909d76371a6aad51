# What both MinGW-w64 toolchains share; ZAVRIK_MINGW_PREFIX names the target triplet and
# ZAVRIK_WINE_NAMES the Wine loader that runs its programs.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 threading flavour: nothing to link for threads the project does not have.
find_program(CMAKE_CXX_COMPILER NAMES ${ZAVRIK_MINGW_PREFIX}-g++-win32 ${ZAVRIK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZAVRIK_MINGW_PREFIX}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${ZAVRIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test programs run under Wine.
find_program(ZAVRIK_WINE NAMES ${ZAVRIK_WINE_NAMES} PATHS /usr/lib/wine)
if(ZAVRIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAVRIK_WINE})
endif()
