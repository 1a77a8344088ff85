file(REMOVE_RECURSE
  "../lib/libzo_common.a"
  "../lib/libzo_common.pdb"
  "CMakeFiles/zo_common.dir/handles.cpp.obj"
  "CMakeFiles/zo_common.dir/handles.cpp.obj.d"
  "CMakeFiles/zo_common.dir/ole_colour.cpp.obj"
  "CMakeFiles/zo_common.dir/ole_colour.cpp.obj.d"
  "CMakeFiles/zo_common.dir/twips.cpp.obj"
  "CMakeFiles/zo_common.dir/twips.cpp.obj.d"
  "CMakeFiles/zo_common.dir/vb_conversions.cpp.obj"
  "CMakeFiles/zo_common.dir/vb_conversions.cpp.obj.d"
  "CMakeFiles/zo_common.dir/vb_error.cpp.obj"
  "CMakeFiles/zo_common.dir/vb_error.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_common.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
