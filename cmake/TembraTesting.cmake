# Helpers that register tests, fuzz targets and benchmarks the same way in every folder.

enable_testing()
find_package(GTest REQUIRED)
if(TEMBRA_FUZZ)
  add_custom_target(fuzzers)
  # Every finding ends the test program with a failure and a stack.
  set(TEMBRA_SANITIZER_ENVIRONMENT
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
endif()

# tembra_add_test(NAME SOURCES ... LIBS ...)
# A GoogleTest program run headless; the shared main creates the QApplication.
function(tembra_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tembra_testmain GTest::gtest GTest::gmock ${ARG_LIBS})
  if(TEMBRA_FUZZ)
    # The test's own sources, unoptimised and without the fuzzers' coverage
    # counters, compile in half the time; the code under test keeps both.
    target_compile_options(${name} PRIVATE -O0 -fno-sanitize=fuzzer-no-link)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(environment "QT_QPA_PLATFORM=offscreen")
  if(TEMBRA_FUZZ)
    list(APPEND environment ${TEMBRA_SANITIZER_ENVIRONMENT})
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${environment}"
    TIMEOUT ${ARG_TIMEOUT})
endfunction()

# tembra_add_fuzzer(NAME SOURCES ... LIBS ... [MAX_LEN bytes])
# A libFuzzer target; in the fuzzing build it also runs as a short bounded test,
# starting from the seed folder fuzz/<NAME> beside the sources when there is one.
# MAX_LEN lets inputs grow past libFuzzer's default for targets whose limits
# are only reached by larger inputs.
set(TEMBRA_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs as a test")
function(tembra_add_fuzzer name)
  if(NOT TEMBRA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "MAX_LEN" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_dependencies(fuzzers ${name})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  file(MAKE_DIRECTORY ${corpus})
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${name})
  set(cmd $<TARGET_FILE:${name}> -max_total_time=${TEMBRA_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10)
  if(ARG_MAX_LEN)
    list(APPEND cmd -max_len=${ARG_MAX_LEN})
  endif()
  list(APPEND cmd ${corpus})
  if(EXISTS ${seeds})
    list(APPEND cmd ${seeds})
  endif()
  add_test(NAME ${name} COMMAND ${cmd})
  set_tests_properties(${name} PROPERTIES
    LABELS fuzz
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 600)
endfunction()

# tembra_add_benchmark(NAME SOURCES ... LIBS ...): built, never run by the tests.
function(tembra_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
