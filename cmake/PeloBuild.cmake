# Compiler flags shared by every target of the project, and the helpers that
# declare tests, benchmarks and fuzz targets.

add_library(pelo_flags INTERFACE)
target_compile_options(pelo_flags INTERFACE -Wall -Wextra -Wpedantic)
if(PELO_WERROR)
  target_compile_options(pelo_flags INTERFACE -Werror)
endif()

if(PELO_SANITIZE)
  set(_pelo_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_compile_options(pelo_flags INTERFACE ${_pelo_san})
  target_compile_definitions(pelo_flags INTERFACE _GLIBCXX_ASSERTIONS)
  target_link_options(pelo_flags INTERFACE ${_pelo_san})
endif()

# Every target linked into a fuzz binary carries the coverage the fuzzer steers by; only the
# fuzz target itself links the fuzzer's main (add_pelo_fuzz).
if(PELO_FUZZ)
  target_compile_options(pelo_flags INTERFACE -fsanitize=fuzzer-no-link)
  target_link_options(pelo_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()

set(PELO_TEST_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")
set(PELO_LSAN_SUPPRESSIONS "${PROJECT_SOURCE_DIR}/tests/lsan.supp")

# add_pelo_test(<name> SOURCES <files...> [QT [PREPARED]] [LIBS <targets...>])
# One test executable per module under test; QT tests run on the offscreen platform under the
# shared Qt test main, PREPARED ones with the application prepared as the program prepares it.
# Only with PELO_TESTS, where tests/ has found GoogleTest and defined those mains.
function(add_pelo_test name)
  cmake_parse_arguments(ARG "QT;PREPARED" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE pelo_core pelo_test_support pelo_flags GTest::gtest
                        ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE PELO_TEST_DATA_DIR="${PELO_TEST_DATA_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set(_env "LSAN_OPTIONS=suppressions=${PELO_LSAN_SUPPRESSIONS}"
           "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  if(ARG_QT)
    list(APPEND _env "QT_QPA_PLATFORM=offscreen" "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime")
    if(ARG_PREPARED)
      target_link_libraries(${name} PRIVATE pelo_qt_test_main_prepared)
    else()
      target_link_libraries(${name} PRIVATE pelo_qt_test_main)
    endif()
    target_link_libraries(${name} PRIVATE pelo_gui)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 600)
endfunction()

# add_pelo_fuzz(<name> SOURCES <files...> CORPUS <dir> [QT] [LIBS <targets...>])
# With PELO_FUZZ (clang) a libFuzzer binary; otherwise the same target linked with a
# replay main that runs every file of its corpus once, as an ordinary test. QT targets link
# the widgets and exist only with PELO_GUI.
function(add_pelo_fuzz name)
  cmake_parse_arguments(ARG "QT" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(ARG_QT AND NOT PELO_GUI)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE pelo_core pelo_flags ${ARG_LIBS})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE pelo_gui)
  endif()
  if(PELO_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    add_test(NAME ${name}_replay COMMAND ${name} ${ARG_CORPUS})
    set_tests_properties(${name}_replay PROPERTIES TIMEOUT 300 ENVIRONMENT
                         "LSAN_OPTIONS=suppressions=${PELO_LSAN_SUPPRESSIONS}")
  endif()
endfunction()
