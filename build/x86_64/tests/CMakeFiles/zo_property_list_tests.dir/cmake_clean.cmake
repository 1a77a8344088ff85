file(REMOVE_RECURSE
  "../bin/zo_property_list_tests.exe"
  "../bin/zo_property_list_tests.pdb"
  "../lib/libzo_property_list_tests.dll.a"
  "CMakeFiles/zo_property_list_tests.dir/property_list/appearance_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/appearance_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/hosting_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/hosting_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/item_store_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/item_store_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/lifecycle_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/lifecycle_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/owner_draw_sink_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/owner_draw_sink_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/persistence_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/persistence_tests.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/property_list_fixture.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/property_list_fixture.cpp.obj.d"
  "CMakeFiles/zo_property_list_tests.dir/property_list/rendering_tests.cpp.obj"
  "CMakeFiles/zo_property_list_tests.dir/property_list/rendering_tests.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_property_list_tests.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
