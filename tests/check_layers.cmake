cmake_minimum_required(VERSION 3.20)
# No include runs up: host/ is the lowest room, then watcher/, then plugin/; platform/ is the
# door to Windows and reaches nothing of ours. Each room may include its own files and the
# rooms below it.
#   -DSOURCE_DIR=the project's root
set(allowed_host host platform)
set(allowed_watcher watcher host platform)
set(allowed_plugin plugin watcher host platform)
set(allowed_platform platform)
set(wrong "")
foreach(room host watcher plugin platform)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${room}/*.h ${SOURCE_DIR}/${room}/*.cpp
    ${SOURCE_DIR}/${room}/*.rc)
  foreach(file IN LISTS files)
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^/\"]+)/.*$" "\\1" target "${line}")
      if(NOT target IN_LIST allowed_${room})
        string(APPEND wrong "\n  ${file}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "includes that run up:${wrong}")
endif()
message(STATUS "every include stays in its room or goes down")
