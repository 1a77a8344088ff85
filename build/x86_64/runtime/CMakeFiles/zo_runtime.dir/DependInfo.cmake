
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/runtime/activex_control.cpp" "runtime/CMakeFiles/zo_runtime.dir/activex_control.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/activex_control.cpp.obj.d"
  "/work/main/runtime/activex_inplace.cpp" "runtime/CMakeFiles/zo_runtime.dir/activex_inplace.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/activex_inplace.cpp.obj.d"
  "/work/main/runtime/activex_persist.cpp" "runtime/CMakeFiles/zo_runtime.dir/activex_persist.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/activex_persist.cpp.obj.d"
  "/work/main/runtime/ambient.cpp" "runtime/CMakeFiles/zo_runtime.dir/ambient.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/ambient.cpp.obj.d"
  "/work/main/runtime/child_controls.cpp" "runtime/CMakeFiles/zo_runtime.dir/child_controls.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/child_controls.cpp.obj.d"
  "/work/main/runtime/connection_point.cpp" "runtime/CMakeFiles/zo_runtime.dir/connection_point.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/connection_point.cpp.obj.d"
  "/work/main/runtime/control_surface.cpp" "runtime/CMakeFiles/zo_runtime.dir/control_surface.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/control_surface.cpp.obj.d"
  "/work/main/runtime/control_window.cpp" "runtime/CMakeFiles/zo_runtime.dir/control_window.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/control_window.cpp.obj.d"
  "/work/main/runtime/do_events.cpp" "runtime/CMakeFiles/zo_runtime.dir/do_events.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/do_events.cpp.obj.d"
  "/work/main/runtime/event_args.cpp" "runtime/CMakeFiles/zo_runtime.dir/event_args.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/event_args.cpp.obj.d"
  "/work/main/runtime/fonts.cpp" "runtime/CMakeFiles/zo_runtime.dir/fonts.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/fonts.cpp.obj.d"
  "/work/main/runtime/message_box.cpp" "runtime/CMakeFiles/zo_runtime.dir/message_box.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/message_box.cpp.obj.d"
  "/work/main/runtime/module.cpp" "runtime/CMakeFiles/zo_runtime.dir/module.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/module.cpp.obj.d"
  "/work/main/runtime/property_bag_io.cpp" "runtime/CMakeFiles/zo_runtime.dir/property_bag_io.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/property_bag_io.cpp.obj.d"
  "/work/main/runtime/stream_property_bag.cpp" "runtime/CMakeFiles/zo_runtime.dir/stream_property_bag.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/stream_property_bag.cpp.obj.d"
  "/work/main/runtime/type_library.cpp" "runtime/CMakeFiles/zo_runtime.dir/type_library.cpp.obj" "gcc" "runtime/CMakeFiles/zo_runtime.dir/type_library.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/common/CMakeFiles/zo_common.dir/DependInfo.cmake"
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
