file(REMOVE_RECURSE
  "../lib/libzo_property_list.a"
  "../lib/libzo_property_list.pdb"
  "CMakeFiles/zo_property_list.dir/appearance.cpp.obj"
  "CMakeFiles/zo_property_list.dir/appearance.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/editors.cpp.obj"
  "CMakeFiles/zo_property_list.dir/editors.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/item_interface.cpp.obj"
  "CMakeFiles/zo_property_list.dir/item_interface.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/item_store.cpp.obj"
  "CMakeFiles/zo_property_list.dir/item_store.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/layout.cpp.obj"
  "CMakeFiles/zo_property_list.dir/layout.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/lifecycle.cpp.obj"
  "CMakeFiles/zo_property_list.dir/lifecycle.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/owner_draw_sink.cpp.obj"
  "CMakeFiles/zo_property_list.dir/owner_draw_sink.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/painting.cpp.obj"
  "CMakeFiles/zo_property_list.dir/painting.cpp.obj.d"
  "CMakeFiles/zo_property_list.dir/property_list_dispatch.cpp.obj"
  "CMakeFiles/zo_property_list.dir/property_list_dispatch.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_property_list.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
