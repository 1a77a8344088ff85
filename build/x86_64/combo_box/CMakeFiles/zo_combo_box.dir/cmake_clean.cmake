file(REMOVE_RECURSE
  "../lib/libzo_combo_box.a"
  "../lib/libzo_combo_box.pdb"
  "CMakeFiles/zo_combo_box.dir/zo_combo_box.cpp.obj"
  "CMakeFiles/zo_combo_box.dir/zo_combo_box.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_combo_box.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
