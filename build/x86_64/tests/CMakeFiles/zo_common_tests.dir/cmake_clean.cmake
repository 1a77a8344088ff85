file(REMOVE_RECURSE
  "../bin/zo_common_tests.exe"
  "../bin/zo_common_tests.pdb"
  "../lib/libzo_common_tests.dll.a"
  "CMakeFiles/zo_common_tests.dir/common/ole_colour_test.cpp.obj"
  "CMakeFiles/zo_common_tests.dir/common/ole_colour_test.cpp.obj.d"
  "CMakeFiles/zo_common_tests.dir/common/twips_test.cpp.obj"
  "CMakeFiles/zo_common_tests.dir/common/twips_test.cpp.obj.d"
  "CMakeFiles/zo_common_tests.dir/common/vb_error_test.cpp.obj"
  "CMakeFiles/zo_common_tests.dir/common/vb_error_test.cpp.obj.d"
  "CMakeFiles/zo_common_tests.dir/common/vb_numbers_test.cpp.obj"
  "CMakeFiles/zo_common_tests.dir/common/vb_numbers_test.cpp.obj.d"
  "CMakeFiles/zo_common_tests.dir/common/vb_text_test.cpp.obj"
  "CMakeFiles/zo_common_tests.dir/common/vb_text_test.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_common_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
