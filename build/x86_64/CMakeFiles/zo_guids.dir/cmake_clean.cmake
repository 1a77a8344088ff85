file(REMOVE_RECURSE
  "CMakeFiles/zo_guids.dir/idl/IPropOwnerDraw_i.c.obj"
  "CMakeFiles/zo_guids.dir/idl/IPropOwnerDraw_i.c.obj.d"
  "CMakeFiles/zo_guids.dir/idl/ZoPropertyList_i.c.obj"
  "CMakeFiles/zo_guids.dir/idl/ZoPropertyList_i.c.obj.d"
  "lib/libzo_guids.a"
  "lib/libzo_guids.pdb"
)

# Per-language clean rules from dependency scanning.
foreach(lang C)
  include(CMakeFiles/zo_guids.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
