# Shared helpers for the per-subsystem CMakeLists.

# add_proj_library(name sources...): a subsystem library, aliased proj::name.
function(add_proj_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  add_library(proj::${name} ALIAS ${name})
endfunction()

# add_proj_test(name LABEL label SOURCES ... LIBS ...): a GoogleTest unit test
# binary whose cases are registered with CTest under the given label.
function(add_proj_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    TEST_PREFIX "${T_LABEL}."
    PROPERTIES LABELS "${T_LABEL}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# add_golden_tests(program LABEL label DIR dir): one CTest test per case
# folder below `dir`. Each case folder holds
#   input/            files copied into a fresh working directory
#   expected/         every file the directory must hold after the run
#   stdout, stderr    expected standard output and error (absent = empty)
#   status            expected exit status, or "abort" for SIGABRT (absent = 0)
#   args              optional command-line arguments, one per line
# The program runs in the fresh directory; everything is compared byte for byte.
function(add_golden_tests program)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(G "" "LABEL;DIR" "" ${ARGN})
  file(GLOB cases LIST_DIRECTORIES true "${G_DIR}/*")
  foreach(case ${cases})
    if(IS_DIRECTORY "${case}")
      get_filename_component(case_name "${case}" NAME)
      add_test(NAME "${G_LABEL}.golden.${case_name}"
        COMMAND bash "${PROJECT_SOURCE_DIR}/tests/golden.sh" $<TARGET_FILE:${program}> "${case}")
      set_tests_properties("${G_LABEL}.golden.${case_name}" PROPERTIES LABELS "${G_LABEL};e2e" TIMEOUT 120)
    endif()
  endforeach()
endfunction()

# add_scenario_driver(name LABEL label SOURCE src LIBS ...): a small test
# program that runs one scenario per process (named by the golden case's
# args file), with its golden cases from tests/golden of the calling folder.
# For library behaviour that only a whole process shows: the records a fatal
# condition writes, the plain stop, the failure report and abort.
function(add_scenario_driver name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(D "" "LABEL;SOURCE" "LIBS" ${ARGN})
  add_executable(${name} ${D_SOURCE})
  target_link_libraries(${name} PRIVATE ${D_LIBS})
  add_golden_tests(${name} LABEL ${D_LABEL} DIR ${CMAKE_CURRENT_SOURCE_DIR}/tests/golden)
endfunction()
