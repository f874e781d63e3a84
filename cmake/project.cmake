# Build kinds and the helpers every folder uses: dk_test, dk_fuzzer, dk_benchmark, dk_tool.

if(DK_KIND STREQUAL "win64" OR DK_KIND STREQUAL "win32")
  set(DK_WINDOWS ON)
else()
  set(DK_WINDOWS OFF)
endif()
set(DK_RUNS_TESTS OFF)
if(DK_KIND STREQUAL "native" OR DK_KIND STREQUAL "fuzz" OR DK_KIND STREQUAL "win64")
  set(DK_RUNS_TESTS ON)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(DK_WINDOWS)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
  endif()
  # Windows test executables run through Wine (scripts/wine-exec sets the prefix,
  # display and locale).
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-exec)
elseif(DK_KIND STREQUAL "native")
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Debug)
  endif()
  # Undefined behaviour ends the test; GCC checks float to integer conversions
  # only when asked (clang's "undefined" holds them).
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
elseif(DK_KIND STREQUAL "fuzz")
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
  endif()
  # Undefined behaviour is a finding like a crash, not a message to go past.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
else() # host
  if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE Release)
  endif()
endif()

include(GoogleTest)

# dk_test(NAME SOURCES ... [LIBS ...] [GUI] [SERIAL] [WINDOWS_ONLY] [NATIVE_ONLY]
#         [TIMEOUT s] [LOCKS res ...] [ENVIRONMENT VAR=value ...])
# A GoogleTest executable; each test case becomes a ctest test. GUI tests share
# one desktop and never run at the same time; LOCKS names other shared things
# (a serial port such as com5) that tests must not use at the same time.
function(dk_test name)
  cmake_parse_arguments(T "GUI;SERIAL;WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;LOCKS" ${ARGN})
  if(DK_KIND STREQUAL "fuzz" OR DK_KIND STREQUAL "host")
    return()
  endif()
  if(T_WINDOWS_ONLY AND NOT DK_WINDOWS)
    return()
  endif()
  if(T_NATIVE_ONLY AND DK_WINDOWS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${DK_GTEST_LIBS} ${DK_GTEST_MAIN})
  if(DK_WINDOWS)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
  endif()
  if(NOT DK_RUNS_TESTS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  set(labels ${DK_KIND})
  set(locks ${T_LOCKS})
  if(T_GUI)
    list(APPEND locks desktop)
    list(APPEND labels gui)
  endif()
  if(T_SERIAL)
    list(APPEND labels serial)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       TEST_PREFIX "${DK_KIND}." PROPERTIES ${props})
  # Labels, locks and the environment are lists, which the discovery's
  # PROPERTIES would split: a script run after the discovered tests are
  # defined sets them instead.
  set(extra ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  set(text "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${labels}\"")
  if(locks)
    string(APPEND text " RESOURCE_LOCK \"${locks}\"")
  endif()
  if(T_ENVIRONMENT)
    string(APPEND text " ENVIRONMENT \"${T_ENVIRONMENT}\"")
  endif()
  file(WRITE ${extra} "${text})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${extra})
endfunction()

# dk_fuzzer(NAME SOURCES ... LIBS ... CORPUS dir)
# Built only in the fuzz build; the test run replays the seed corpus.
# scripts/fuzz NAME [seconds] fuzzes for real.
function(dk_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT DK_KIND STREQUAL "fuzz")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME fuzz.${name} COMMAND ${name} -runs=0 ${F_CORPUS})
  file(WRITE ${CMAKE_BINARY_DIR}/fuzzers/${name} "${F_CORPUS}\n")
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()

# dk_benchmark(NAME SOURCES ... LIBS ...): built in the host build, run by scripts/bench.
function(dk_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT DK_KIND STREQUAL "host")
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark)
  file(WRITE ${CMAKE_BINARY_DIR}/benchmarks/${name} "${name}\n")
endfunction()

# dk_host_tool(NAME): path of a tool of the host build, for custom commands of
# every build kind.
function(dk_host_tool out name)
  if(DK_KIND STREQUAL "host" OR DK_KIND STREQUAL "native")
    set(${out} $<TARGET_FILE:${name}> PARENT_SCOPE)
  elseif(DK_HOST_TOOLS)
    set(${out} ${DK_HOST_TOOLS}/${name} PARENT_SCOPE)
  else()
    message(FATAL_ERROR "DK_HOST_TOOLS is not set: build the host kind first")
  endif()
endfunction()
