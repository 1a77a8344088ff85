
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  "RC"
  )
# The set of files for implicit dependencies of each language:
set(CMAKE_DEPENDS_CHECK_RC
  "/work/main/server/ZoPropList.rc" "/work/main/build/x86_64/server/CMakeFiles/ZoPropList.dir/ZoPropList.rc.res"
  )

# Preprocessor definitions for this target.
set(CMAKE_TARGET_DEFINITIONS_RC
  "NOMINMAX"
  "UNICODE"
  "ZoPropList_EXPORTS"
  "_UNICODE"
  )

# The include file search paths:
set(CMAKE_RC_TARGET_INCLUDE_PATH
  "/work/main"
  "idl"
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/server/class_factory.cpp" "server/CMakeFiles/ZoPropList.dir/class_factory.cpp.obj" "gcc" "server/CMakeFiles/ZoPropList.dir/class_factory.cpp.obj.d"
  "/work/main/server/dll_entry.cpp" "server/CMakeFiles/ZoPropList.dir/dll_entry.cpp.obj" "gcc" "server/CMakeFiles/ZoPropList.dir/dll_entry.cpp.obj.d"
  "/work/main/server/registration.cpp" "server/CMakeFiles/ZoPropList.dir/registration.cpp.obj" "gcc" "server/CMakeFiles/ZoPropList.dir/registration.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/property_list/CMakeFiles/zo_property_list.dir/DependInfo.cmake"
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  "/work/main/build/x86_64/combo_box/CMakeFiles/zo_combo_box.dir/DependInfo.cmake"
  "/work/main/build/x86_64/colour_picking/CMakeFiles/zo_colour_picking.dir/DependInfo.cmake"
  "/work/main/build/x86_64/window_support/CMakeFiles/zo_window_support.dir/DependInfo.cmake"
  "/work/main/build/x86_64/runtime/CMakeFiles/zo_runtime.dir/DependInfo.cmake"
  "/work/main/build/x86_64/common/CMakeFiles/zo_common.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
