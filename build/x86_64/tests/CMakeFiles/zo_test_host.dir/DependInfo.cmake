
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/host/ambient_properties.cpp" "tests/CMakeFiles/zo_test_host.dir/host/ambient_properties.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/ambient_properties.cpp.obj.d"
  "/work/main/tests/host/atl_host.cpp" "tests/CMakeFiles/zo_test_host.dir/host/atl_host.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/atl_host.cpp.obj.d"
  "/work/main/tests/host/client_site.cpp" "tests/CMakeFiles/zo_test_host.dir/host/client_site.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/client_site.cpp.obj.d"
  "/work/main/tests/host/connection.cpp" "tests/CMakeFiles/zo_test_host.dir/host/connection.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/connection.cpp.obj.d"
  "/work/main/tests/host/control_site.cpp" "tests/CMakeFiles/zo_test_host.dir/host/control_site.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/control_site.cpp.obj.d"
  "/work/main/tests/host/dispatch_call.cpp" "tests/CMakeFiles/zo_test_host.dir/host/dispatch_call.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/dispatch_call.cpp.obj.d"
  "/work/main/tests/host/event_interface.cpp" "tests/CMakeFiles/zo_test_host.dir/host/event_interface.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/event_interface.cpp.obj.d"
  "/work/main/tests/host/event_sink.cpp" "tests/CMakeFiles/zo_test_host.dir/host/event_sink.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/event_sink.cpp.obj.d"
  "/work/main/tests/host/in_place_frame.cpp" "tests/CMakeFiles/zo_test_host.dir/host/in_place_frame.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/in_place_frame.cpp.obj.d"
  "/work/main/tests/host/memory_stream.cpp" "tests/CMakeFiles/zo_test_host.dir/host/memory_stream.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/memory_stream.cpp.obj.d"
  "/work/main/tests/host/message_box_recorder.cpp" "tests/CMakeFiles/zo_test_host.dir/host/message_box_recorder.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/message_box_recorder.cpp.obj.d"
  "/work/main/tests/host/message_pump.cpp" "tests/CMakeFiles/zo_test_host.dir/host/message_pump.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/message_pump.cpp.obj.d"
  "/work/main/tests/host/pixels.cpp" "tests/CMakeFiles/zo_test_host.dir/host/pixels.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/pixels.cpp.obj.d"
  "/work/main/tests/host/png_writer.cpp" "tests/CMakeFiles/zo_test_host.dir/host/png_writer.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/png_writer.cpp.obj.d"
  "/work/main/tests/host/property_bag.cpp" "tests/CMakeFiles/zo_test_host.dir/host/property_bag.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/property_bag.cpp.obj.d"
  "/work/main/tests/host/property_notify.cpp" "tests/CMakeFiles/zo_test_host.dir/host/property_notify.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/property_notify.cpp.obj.d"
  "/work/main/tests/host/sequence.cpp" "tests/CMakeFiles/zo_test_host.dir/host/sequence.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/sequence.cpp.obj.d"
  "/work/main/tests/host/variant.cpp" "tests/CMakeFiles/zo_test_host.dir/host/variant.cpp.obj" "gcc" "tests/CMakeFiles/zo_test_host.dir/host/variant.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/googletest/googlemock/CMakeFiles/gmock.dir/DependInfo.cmake"
  "/work/main/build/x86_64/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  "/work/main/build/x86_64/property_list/CMakeFiles/zo_property_list.dir/DependInfo.cmake"
  "/work/main/build/x86_64/combo_box/CMakeFiles/zo_combo_box.dir/DependInfo.cmake"
  "/work/main/build/x86_64/colour_picking/CMakeFiles/zo_colour_picking.dir/DependInfo.cmake"
  "/work/main/build/x86_64/window_support/CMakeFiles/zo_window_support.dir/DependInfo.cmake"
  "/work/main/build/x86_64/runtime/CMakeFiles/zo_runtime.dir/DependInfo.cmake"
  "/work/main/build/x86_64/common/CMakeFiles/zo_common.dir/DependInfo.cmake"
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
