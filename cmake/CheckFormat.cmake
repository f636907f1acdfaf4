# The format check of the suite: clang-format 14 with the root .clang-format, in check mode,
# over every C++ file of src, tools, tests, bench and fuzz; it fails naming each file and
# line it would change. Run as a script:
#   cmake -DCLANG_FORMAT=<program> [-DSOURCE_DIR=<top of the tree>] -P cmake/CheckFormat.cmake
# Without clang-format 14 it says so and changes nothing; the test counts that as skipped
# (another version formats differently).

if(NOT CLANG_FORMAT)
  message("clang-format 14 not found: the format check is skipped")
  return()
endif()
execute_process(COMMAND ${CLANG_FORMAT} --version OUTPUT_VARIABLE version)
string(REGEX MATCH "[^\n]*" version "${version}")
if(NOT version MATCHES "version 14\\.")
  message("clang-format 14 not found (${CLANG_FORMAT}: ${version}): the format check is skipped")
  return()
endif()
if(NOT SOURCE_DIR)
  set(SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/..)
endif()
get_filename_component(SOURCE_DIR ${SOURCE_DIR} ABSOLUTE)

set(files)
foreach(folder IN ITEMS src tools tests bench fuzz)
  file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.inc)
  list(APPEND files ${found})
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no C++ files under ${SOURCE_DIR}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "clang-format would change the files above (clang-format -i FILE)")
endif()
message("${count} files formatted as .clang-format says")
