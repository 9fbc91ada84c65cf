# Build helpers shared by every folder of the suite.
include(GoogleTest)

set(ORMEL_TEST_DATA ${CMAKE_SOURCE_DIR}/tests/data)

# A GoogleTest executable over core code; runs in the sanitizer pass too.
function(ormel_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORMEL_TEST_DATA="${ORMEL_TEST_DATA}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit)
endfunction()

# A Qt Test executable driving a form on the offscreen platform.
function(ormel_form_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE ORMEL_TEST_DATA="${ORMEL_TEST_DATA}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests-bin)
  add_test(NAME ${name} COMMAND ${name})
  # The user's folders of a form test are its own in the build tree, never the real user's
  # (tests that use them make fresh ones: tests/support/UserFolders.h).
  set(user ${CMAKE_BINARY_DIR}/test-user/${name})
  set(environment QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy LC_ALL=C.UTF-8
      XDG_CONFIG_HOME=${user}/config XDG_DATA_HOME=${user}/data XDG_CACHE_HOME=${user}/cache)
  if(ORMEL_SANITIZE)
    # Qt's leaks are suppressed by the names of Qt's functions: Qt has no frame pointers, so the
    # stacks are unwound in full to show them.
    list(APPEND environment ASAN_OPTIONS=fast_unwind_on_malloc=0
         LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS form ENVIRONMENT "${environment}")
endfunction()
