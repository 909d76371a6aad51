# The Windows build (cmake/mingw-i686.cmake): Zavrik.dll, freestanding, as it ships, and the
# 32-bit programs that test it under Wine (scripts/test-windows runs them).
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  message(FATAL_ERROR "Zavrik.dll is built for 32-bit Windows only: use cmake/mingw-i686.cmake")
endif()
set(ZAVRIK_DEF_FILE ${CMAKE_CURRENT_SOURCE_DIR}/plugin/Zavrik.def)
set(ZAVRIK_ENTRY _DllMain@12)

# GCC's optimizer makes local copies of functions (.constprop, .isra, .part, .cold); when the
# function is inline, the copy lands in a COMDAT section, and MinGW's linker keeps one of the
# same-named copies of different objects for all of them. Seen: the scenario host crashed at
# start because one object's copy of snprintf, specialised for its own buffer, served another.
# No such copies, then, in anything built here.
set(ZAVRIK_NO_LOCAL_COPIES -fno-ipa-cp -fno-ipa-sra -fno-partial-inlining -fno-reorder-blocks-and-partition)

# Zavrik.dll: no C run time, no static constructors, no unwinding tables; USER32 and
# KERNEL32 only. No time stamps or paths, so two builds of a commit are byte-identical.
# CMake adds the Windows libraries it links by default (gdi32, advapi32, ...) to every
# program; here each target names what it links.
set(CMAKE_CXX_STANDARD_LIBRARIES "")
add_library(Zavrik SHARED ${ZAVRIK_PRODUCT_SOURCES} ${CMAKE_CURRENT_SOURCE_DIR}/plugin/zavrik.rc ${ZAVRIK_DEF_FILE})
set_target_properties(Zavrik PROPERTIES PREFIX "" OUTPUT_NAME Zavrik SUFFIX ".dll"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_include_directories(Zavrik PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(Zavrik PRIVATE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Werror -fno-exceptions -fno-rtti
  -ffreestanding -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector -fno-ident -Os
  -fno-threadsafe-statics -ffile-prefix-map=${CMAKE_CURRENT_SOURCE_DIR}=. ${ZAVRIK_NO_LOCAL_COPIES}>)
target_link_options(Zavrik PRIVATE -nostdlib -s -Wl,--entry,${ZAVRIK_ENTRY} -Wl,--no-insert-timestamp
  -Wl,--dynamicbase -Wl,--nxcompat -Wl,--build-id=none)
target_link_libraries(Zavrik PRIVATE user32 kernel32)

# The scenario host over real Windows: the same host, scenario and timeline code as on Linux,
# the stand-in's world reached through the DLL's import table, ticks from real thread timers.
set(ZAVRIK_TOOL_FLAGS -Wall -Wextra -Werror -O2 ${ZAVRIK_NO_LOCAL_COPIES})
set(ZAVRIK_HARNESS_SOURCES
  tools/fakehost/trace.cpp tools/fakehost/fake_host.cpp tools/loader/plugin_loader.cpp tools/loader/import_patch.cpp
  tools/sim/sim_platform_windows.cpp platform/standin/standin_world.cpp platform/standin/standin_real_ticks.cpp)
add_executable(zavrik-sim
  tools/sim/sim_main.cpp tools/sim/scenario.cpp tools/sim/timeline.cpp tools/sim/text_utf8.cpp
  tools/sim/sim_run.cpp tools/sim/sim_live_windows.cpp ${ZAVRIK_HARNESS_SOURCES})
add_executable(wine_checks tools/wine/wine_checks.cpp ${ZAVRIK_HARNESS_SOURCES})
# The conformance rows against real Windows (Wine), the same rows the native tree runs
# against the stand-in.
add_executable(conformance tests/conformance/conformance.cpp tests/conformance/platform_windows.cpp)
foreach(program zavrik-sim wine_checks conformance)
  target_include_directories(${program} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${program} PRIVATE ${ZAVRIK_TOOL_FLAGS})
  target_compile_definitions(${program} PRIVATE ZAVRIK_PLUGIN_PATH="Zavrik.dll")
  # Stripped, without time stamps or build paths: zavrik-sim.exe ships, and two builds of it
  # are byte-identical.
  target_compile_options(${program} PRIVATE -ffile-prefix-map=${CMAKE_CURRENT_SOURCE_DIR}=.)
  target_link_options(${program} PRIVATE -static -static-libgcc -static-libstdc++ -s -Wl,--no-insert-timestamp)
  target_link_libraries(${program} PRIVATE user32 kernel32)
  set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(${program} Zavrik)
endforeach()

enable_testing()
set(ZAVRIK_OBJDUMP ${ZAVRIK_MINGW_PREFIX}-objdump)

# What the DLL gives and takes, and what it weighs, checked from its bytes.
add_test(NAME dll.exports_imports_size
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${ZAVRIK_OBJDUMP} -DDLL=$<TARGET_FILE:Zavrik>
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_dll.cmake)

add_test(NAME dll.link_line
  COMMAND ${CMAKE_COMMAND} -DTARGET_DIR=${CMAKE_BINARY_DIR}/CMakeFiles/Zavrik.dir -DBINARY_DIR=${CMAKE_BINARY_DIR}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_link_line.cmake)

# Every function that crosses the boundary is __stdcall: MinGW decorates those as
# _Name@bytes, and each export's code ends by popping its arguments.
add_test(NAME dll.stdcall
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${ZAVRIK_OBJDUMP} -DNM=${ZAVRIK_MINGW_PREFIX}-nm -DDLL=$<TARGET_FILE:Zavrik>
          -DOBJECTS=$<JOIN:$<TARGET_OBJECTS:Zavrik>,|> -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/check_stdcall.cmake)

# The Wine tests, labelled "wine": tests/wine/run-wine-tests.sh runs them under a 32-bit
# Wine, in the 32-bit test machine (tools/i386vm/run) or on a host that runs 32-bit programs,
# with `wine` on the PATH and this tree at the same path.
set(ZAVRIK_WINE wine)
set(ZAVRIK_WINE_TESTS "")
# The differential test: every scenario gives under Wine the very timeline it gives on
# Linux, which is its checked-in expected file.
file(GLOB scenarios ${CMAKE_CURRENT_SOURCE_DIR}/scenarios/*.txt)
foreach(scenario IN LISTS scenarios)
  get_filename_component(name ${scenario} NAME_WE)
  string(REGEX REPLACE "\\.txt$" ".expected" expected ${scenario})
  add_test(NAME wine.scenario.${name}
    COMMAND ${CMAKE_COMMAND} "-DSIM=${ZAVRIK_WINE};$<TARGET_FILE:zavrik-sim>" "-DARGS=--color=never;${scenario}"
            -DEXPECTED=${expected} -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/run_sim.cmake)
  list(APPEND ZAVRIK_WINE_TESTS wine.scenario.${name})
endforeach()
add_test(NAME wine.refuses_a_bad_file
  COMMAND ${CMAKE_COMMAND} "-DSIM=${ZAVRIK_WINE};$<TARGET_FILE:zavrik-sim>" -DARGS=${CMAKE_CURRENT_SOURCE_DIR}/tests/broken.txt
          "-DREFUSED=broken\\.txt:4: unknown directive 'lok'" -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/run_sim.cmake)
list(APPEND ZAVRIK_WINE_TESTS wine.refuses_a_bad_file)
add_test(NAME wine.live_refuses_a_lock
  COMMAND ${CMAKE_COMMAND} "-DSIM=${ZAVRIK_WINE};$<TARGET_FILE:zavrik-sim>"
          "-DARGS=--live;${CMAKE_CURRENT_SOURCE_DIR}/scenarios/probe-fails-while-away.txt"
          "-DREFUSED=probe-fails-while-away\\.txt:5: 'lock' needs the stand-in's world"
          -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/run_sim.cmake)
list(APPEND ZAVRIK_WINE_TESTS wine.live_refuses_a_lock)
# The direct checks of the DLL, one program run each; each prints its own result line.
foreach(check load exports stack_balance modal_box live)
  add_test(NAME wine.check.${check} COMMAND ${ZAVRIK_WINE} $<TARGET_FILE:wine_checks> ${check}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  list(APPEND ZAVRIK_WINE_TESTS wine.check.${check})
endforeach()
# Live mode runs for two periods of the real timer: started first, the others run beside it.
set_tests_properties(wine.check.live PROPERTIES ENVIRONMENT ZAVRIK_LIVE_SCENARIO=${CMAKE_CURRENT_SOURCE_DIR}/tests/live.txt
  COST 100)
foreach(group strings timers message_boxes desktops)
  add_test(NAME conformance.${group} COMMAND ${ZAVRIK_WINE} $<TARGET_FILE:conformance> ${group})
  list(APPEND ZAVRIK_WINE_TESTS conformance.${group})
endforeach()
set_tests_properties(${ZAVRIK_WINE_TESTS} PROPERTIES LABELS wine TIMEOUT 90)
