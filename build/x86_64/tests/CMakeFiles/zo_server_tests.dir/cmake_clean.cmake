file(REMOVE_RECURSE
  "../bin/zo_server_tests.exe"
  "../bin/zo_server_tests.pdb"
  "../lib/libzo_server_tests.dll.a"
  "CMakeFiles/zo_server_tests.dir/server/owner_draw_library_tests.cpp.obj"
  "CMakeFiles/zo_server_tests.dir/server/owner_draw_library_tests.cpp.obj.d"
  "CMakeFiles/zo_server_tests.dir/server/registration_tests.cpp.obj"
  "CMakeFiles/zo_server_tests.dir/server/registration_tests.cpp.obj.d"
  "CMakeFiles/zo_server_tests.dir/server/server_test_support.cpp.obj"
  "CMakeFiles/zo_server_tests.dir/server/server_test_support.cpp.obj.d"
  "CMakeFiles/zo_server_tests.dir/server/type_library_binding_tests.cpp.obj"
  "CMakeFiles/zo_server_tests.dir/server/type_library_binding_tests.cpp.obj.d"
  "CMakeFiles/zo_server_tests.dir/server/type_library_tests.cpp.obj"
  "CMakeFiles/zo_server_tests.dir/server/type_library_tests.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_server_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
