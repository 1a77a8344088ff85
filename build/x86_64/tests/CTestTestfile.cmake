# CMake generated Testfile for 
# Source directory: /work/main/tests
# Build directory: /work/main/build/x86_64/tests
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
include("/work/main/build/x86_64/tests/zo_common_tests[1]_include.cmake")
include("/work/main/build/x86_64/tests/zo_host_selftest_tests[1]_include.cmake")
include("/work/main/build/x86_64/tests/zo_property_list_tests[1]_include.cmake")
include("/work/main/build/x86_64/tests/zo_server_tests[1]_include.cmake")
subdirs("../googletest")
