file(REMOVE_RECURSE
  "../lib/libzo_window_support.a"
  "../lib/libzo_window_support.pdb"
  "CMakeFiles/zo_window_support.dir/scrollbar.cpp.obj"
  "CMakeFiles/zo_window_support.dir/scrollbar.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_window_support.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
