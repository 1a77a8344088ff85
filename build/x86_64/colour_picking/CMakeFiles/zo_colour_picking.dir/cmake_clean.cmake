file(REMOVE_RECURSE
  "../lib/libzo_colour_picking.a"
  "../lib/libzo_colour_picking.pdb"
  "CMakeFiles/zo_colour_picking.dir/paint_effects.cpp.obj"
  "CMakeFiles/zo_colour_picking.dir/paint_effects.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/zo_colour_picking.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
