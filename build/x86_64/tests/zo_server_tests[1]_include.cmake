if(EXISTS "/work/main/build/x86_64/bin/zo_server_tests.exe")
  if(NOT EXISTS "/work/main/build/x86_64/tests/zo_server_tests[1]_tests.cmake" OR
     NOT "/work/main/build/x86_64/tests/zo_server_tests[1]_tests.cmake" IS_NEWER_THAN "/work/main/build/x86_64/bin/zo_server_tests.exe" OR
     NOT "/work/main/build/x86_64/tests/zo_server_tests[1]_tests.cmake" IS_NEWER_THAN "${CMAKE_CURRENT_LIST_FILE}")
    include("/usr/share/cmake-3.25/Modules/GoogleTestAddTests.cmake")
    gtest_discover_tests_impl(
      TEST_EXECUTABLE [==[/work/main/build/x86_64/bin/zo_server_tests.exe]==]
      TEST_EXECUTOR [==[/work/main/scripts/wine-run.sh;x86_64]==]
      TEST_WORKING_DIR [==[/work/main/build/x86_64/bin]==]
      TEST_EXTRA_ARGS [==[]==]
      TEST_PROPERTIES [==[TIMEOUT;60;LABELS;server]==]
      TEST_PREFIX [==[server.]==]
      TEST_SUFFIX [==[]==]
      TEST_FILTER [==[]==]
      NO_PRETTY_TYPES [==[FALSE]==]
      NO_PRETTY_VALUES [==[FALSE]==]
      TEST_LIST [==[zo_server_tests_TESTS]==]
      CTEST_FILE [==[/work/main/build/x86_64/tests/zo_server_tests[1]_tests.cmake]==]
      TEST_DISCOVERY_TIMEOUT [==[60]==]
      TEST_XML_OUTPUT_DIR [==[]==]
    )
  endif()
  include("/work/main/build/x86_64/tests/zo_server_tests[1]_tests.cmake")
else()
  add_test(zo_server_tests_NOT_BUILT zo_server_tests_NOT_BUILT)
endif()
