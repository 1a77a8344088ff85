file(REMOVE_RECURSE
  "../bin/zo_host_selftest_tests.exe"
  "../bin/zo_host_selftest_tests.pdb"
  "../lib/libzo_host_selftest_tests.dll.a"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/font_object_test.cpp.obj"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/font_object_test.cpp.obj.d"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/message_pump_test.cpp.obj"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/message_pump_test.cpp.obj.d"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/ole_environment.cpp.obj"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/ole_environment.cpp.obj.d"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/pixels_test.cpp.obj"
  "CMakeFiles/zo_host_selftest_tests.dir/host_selftest/pixels_test.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_host_selftest_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
