file(REMOVE_RECURSE
  "../bin/ZoPropList.ocx"
  "../bin/ZoPropList.pdb"
  "../lib/libZoPropList.dll.a"
  "CMakeFiles/ZoPropList.dir/ZoPropList.rc.res"
  "CMakeFiles/ZoPropList.dir/class_factory.cpp.obj"
  "CMakeFiles/ZoPropList.dir/class_factory.cpp.obj.d"
  "CMakeFiles/ZoPropList.dir/dll_entry.cpp.obj"
  "CMakeFiles/ZoPropList.dir/dll_entry.cpp.obj.d"
  "CMakeFiles/ZoPropList.dir/registration.cpp.obj"
  "CMakeFiles/ZoPropList.dir/registration.cpp.obj.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX RC)
  include(CMakeFiles/ZoPropList.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
