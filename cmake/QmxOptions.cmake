# Project-wide compile options: warnings are errors, sanitizers on request.
add_compile_options(-Wall -Wextra -Wpedantic -Werror)
# Math functions report failure through their results (NaN, infinity), never through errno, so the
# compiler may treat them as pure: a repeated call is made once and sqrt is a single instruction.
add_compile_options(-fno-math-errno)
# g++ 12 at -O3 reports std::string assignments as overlapping copies (GCC bug 105329 and kin);
# keep those diagnostics as warnings in the optimised builds so that they do not fail.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-Wno-error=restrict;-Wno-error=stringop-overflow;-Wno-error=array-bounds>")
endif()
if(QMX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# qmx_add_test(<name> SOURCES ... LIBS ... [ENV VAR=value ...]): one GoogleTest executable
# registered with ctest; ENV is set for every discovered test.
function(qmx_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE QMX_DATA_DIR="${QMX_DATA_DIR}")
  if(T_ENV)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ENVIRONMENT "${T_ENV}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# qmx_add_library(<name> SOURCES ... LIBS ...): a subsystem library; headers are included as "<subsystem>/<file>.hpp".
function(qmx_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${L_LIBS})
  target_compile_definitions(${name} PRIVATE QMX_DATA_DIR="${QMX_DATA_DIR}")
endfunction()

include(GoogleTest)

# qmx_cli_test(<name> ARGS ... [EXIT code] [STDOUT regex] [STDERR regex]): runs qmxcli with the
# arguments and checks its exit status and what it printed. Cases live in tests/cli/*.cmake.
function(qmx_cli_test name)
  cmake_parse_arguments(C "" "EXIT;STDOUT;STDERR" "ARGS" ${ARGN})
  if(NOT DEFINED C_EXIT)
    set(C_EXIT 0)
  endif()
  string(REPLACE ";" "@@" args "${C_ARGS}")
  add_test(NAME cli_${name}
           COMMAND ${CMAKE_COMMAND} "-DEXE=$<TARGET_FILE:qmxcli>" "-DARGS=${args}" "-DEXIT=${C_EXIT}"
                   "-DSTDOUT=${C_STDOUT}" "-DSTDERR=${C_STDERR}" -P "${PROJECT_SOURCE_DIR}/cmake/RunCli.cmake")
  set_tests_properties(cli_${name} PROPERTIES TIMEOUT 60)
endfunction()
