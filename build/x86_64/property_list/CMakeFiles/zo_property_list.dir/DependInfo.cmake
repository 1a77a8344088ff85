
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/property_list/appearance.cpp" "property_list/CMakeFiles/zo_property_list.dir/appearance.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/appearance.cpp.obj.d"
  "/work/main/property_list/editors.cpp" "property_list/CMakeFiles/zo_property_list.dir/editors.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/editors.cpp.obj.d"
  "/work/main/property_list/item_interface.cpp" "property_list/CMakeFiles/zo_property_list.dir/item_interface.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/item_interface.cpp.obj.d"
  "/work/main/property_list/item_store.cpp" "property_list/CMakeFiles/zo_property_list.dir/item_store.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/item_store.cpp.obj.d"
  "/work/main/property_list/layout.cpp" "property_list/CMakeFiles/zo_property_list.dir/layout.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/layout.cpp.obj.d"
  "/work/main/property_list/lifecycle.cpp" "property_list/CMakeFiles/zo_property_list.dir/lifecycle.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/lifecycle.cpp.obj.d"
  "/work/main/property_list/owner_draw_sink.cpp" "property_list/CMakeFiles/zo_property_list.dir/owner_draw_sink.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/owner_draw_sink.cpp.obj.d"
  "/work/main/property_list/painting.cpp" "property_list/CMakeFiles/zo_property_list.dir/painting.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/painting.cpp.obj.d"
  "/work/main/property_list/property_list_dispatch.cpp" "property_list/CMakeFiles/zo_property_list.dir/property_list_dispatch.cpp.obj" "gcc" "property_list/CMakeFiles/zo_property_list.dir/property_list_dispatch.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/combo_box/CMakeFiles/zo_combo_box.dir/DependInfo.cmake"
  "/work/main/build/x86_64/colour_picking/CMakeFiles/zo_colour_picking.dir/DependInfo.cmake"
  "/work/main/build/x86_64/window_support/CMakeFiles/zo_window_support.dir/DependInfo.cmake"
  "/work/main/build/x86_64/runtime/CMakeFiles/zo_runtime.dir/DependInfo.cmake"
  "/work/main/build/x86_64/common/CMakeFiles/zo_common.dir/DependInfo.cmake"
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
