# Helpers shared by every CMakeLists of the tree.

# A platform-neutral static library: built in every configuration.
function(tolvik_neutral_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

function(tolvik_setup_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endfunction()

# tolvik_media(NAME name SCRIPT path): a ctest fixture that makes test media with Debian tools
# (ffmpeg and friends) into TOLVIK_MEDIA_DIR before the tests that need it run. The media are
# stamped with the script's hash and made again whenever the script changes (run-media.sh).
function(tolvik_media)
  cmake_parse_arguments(M "" "NAME;SCRIPT" "" ${ARGN})
  # One entry per media set for the whole tree (if(TEST) sees only the current folder's tests):
  # two entries would write the same files at the same time.
  get_property(made GLOBAL PROPERTY TOLVIK_MEDIA_NAMES)
  if(M_NAME IN_LIST made)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY TOLVIK_MEDIA_NAMES ${M_NAME})
  add_test(NAME media_${M_NAME} COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/run-media.sh ${M_SCRIPT} ${TOLVIK_MEDIA_DIR})
  set_tests_properties(media_${M_NAME} PROPERTIES FIXTURES_SETUP media_${M_NAME} TIMEOUT 600)
endfunction()

# tolvik_test(name SOURCES ... [LIBS ...] [MEDIA fixture ...] TIMEOUT s)
# One GoogleTest program registered as one ctest entry; under the win64 build ctest runs it in Wine.
function(tolvik_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;MEDIA" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tolvik_test_support ${T_LIBS} gmock gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  # Each test names its own limit, a few times its duration on a loaded machine, so that a hang
  # fails fast under the test's own name.
  if(NOT T_TIMEOUT)
    message(FATAL_ERROR "tolvik_test(${name}): give the test a TIMEOUT of its own")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "TOLVIK_MEDIA=${TOLVIK_MEDIA_DIR};TOLVIK_SOURCE=${CMAKE_SOURCE_DIR};TOLVIK_PROGRAM=${TOLVIK_PROGRAM_DIR}")
  foreach(m ${T_MEDIA})
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED media_${m})
  endforeach()
endfunction()

# tolvik_viewer_resources(target): a program that compiles the viewer's resource script
# (res/viewer/Tolvik.rc) waits for the icon it takes, drawn at build time beside the viewer.
function(tolvik_viewer_resources target)
  add_dependencies(${target} tolvik_icon)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/res/viewer/Tolvik.rc PROPERTIES
    OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/src/viewer/Tolvik.ico)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/res/viewer ${CMAKE_BINARY_DIR}/src/viewer)
endfunction()

# tolvik_fuzzer(name SOURCES ... LIBS ... [SEEDS program args...]): a libFuzzer target (clang build
# only) and its bounded smoke run as a ctest entry. SEEDS names a command that writes seed inputs
# into the folder given as its last argument before the run.
set(TOLVIK_FUZZ_SECONDS 10 CACHE STRING "Length of each fuzz smoke run")
function(tolvik_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;SEEDS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}.corpus)
  if(F_SEEDS)
    add_test(NAME ${name}_seeds COMMAND ${F_SEEDS} ${corpus})
    set_tests_properties(${name}_seeds PROPERTIES FIXTURES_SETUP ${name}_seeds TIMEOUT 120) # writes seed files
  endif()
  add_test(NAME ${name}_smoke COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
    $<TARGET_FILE:${name}> -max_total_time=${TOLVIK_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/ ${corpus})
  # The run's own length and its start and closing statistics: a longer run (scripts/fuzz) must not
  # be cut off by the limit of the short one.
  math(EXPR limit "${TOLVIK_FUZZ_SECONDS} + 120")
  set_tests_properties(${name}_smoke PROPERTIES TIMEOUT ${limit})
  if(F_SEEDS)
    set_tests_properties(${name}_smoke PROPERTIES FIXTURES_REQUIRED ${name}_seeds)
  else()
    file(MAKE_DIRECTORY ${corpus})
  endif()
endfunction()

# tolvik_benchmark(name SOURCES ... LIBS ...): a Google Benchmark program (optimised native build).
function(tolvik_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} tolvik_bench_support benchmark::benchmark)
endfunction()

# tolvik_split_debug(target): a program of the program folder keeps its debug information in a file
# of its own in the build folder (named in the program by a debug link): Wine reads every section
# of a program image into memory, the debug sections too (36 of the viewer's 40 MB, all resident).
function(tolvik_split_debug target)
  set(debug ${CMAKE_CURRENT_BINARY_DIR}/${target}.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=${debug} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
