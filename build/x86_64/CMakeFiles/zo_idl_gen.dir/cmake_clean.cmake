file(REMOVE_RECURSE
  "CMakeFiles/zo_idl_gen"
  "idl/IPropOwnerDraw.h"
  "idl/IPropOwnerDraw.tlb"
  "idl/IPropOwnerDraw_i.c"
  "idl/ZoPropertyList.h"
  "idl/ZoPropertyList.tlb"
  "idl/ZoPropertyList_i.c"
)

# Per-language clean rules from dependency scanning.
foreach(lang )
  include(CMakeFiles/zo_idl_gen.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
