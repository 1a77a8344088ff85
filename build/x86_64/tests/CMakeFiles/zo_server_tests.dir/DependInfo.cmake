
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/server/owner_draw_library_tests.cpp" "tests/CMakeFiles/zo_server_tests.dir/server/owner_draw_library_tests.cpp.obj" "gcc" "tests/CMakeFiles/zo_server_tests.dir/server/owner_draw_library_tests.cpp.obj.d"
  "/work/main/tests/server/registration_tests.cpp" "tests/CMakeFiles/zo_server_tests.dir/server/registration_tests.cpp.obj" "gcc" "tests/CMakeFiles/zo_server_tests.dir/server/registration_tests.cpp.obj.d"
  "/work/main/tests/server/server_test_support.cpp" "tests/CMakeFiles/zo_server_tests.dir/server/server_test_support.cpp.obj" "gcc" "tests/CMakeFiles/zo_server_tests.dir/server/server_test_support.cpp.obj.d"
  "/work/main/tests/server/type_library_binding_tests.cpp" "tests/CMakeFiles/zo_server_tests.dir/server/type_library_binding_tests.cpp.obj" "gcc" "tests/CMakeFiles/zo_server_tests.dir/server/type_library_binding_tests.cpp.obj.d"
  "/work/main/tests/server/type_library_tests.cpp" "tests/CMakeFiles/zo_server_tests.dir/server/type_library_tests.cpp.obj" "gcc" "tests/CMakeFiles/zo_server_tests.dir/server/type_library_tests.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/googletest/googlemock/CMakeFiles/gmock_main.dir/DependInfo.cmake"
  "/work/main/build/x86_64/tests/CMakeFiles/zo_test_host.dir/DependInfo.cmake"
  "/work/main/build/x86_64/property_list/CMakeFiles/zo_property_list.dir/DependInfo.cmake"
  "/work/main/build/x86_64/combo_box/CMakeFiles/zo_combo_box.dir/DependInfo.cmake"
  "/work/main/build/x86_64/colour_picking/CMakeFiles/zo_colour_picking.dir/DependInfo.cmake"
  "/work/main/build/x86_64/window_support/CMakeFiles/zo_window_support.dir/DependInfo.cmake"
  "/work/main/build/x86_64/runtime/CMakeFiles/zo_runtime.dir/DependInfo.cmake"
  "/work/main/build/x86_64/common/CMakeFiles/zo_common.dir/DependInfo.cmake"
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  "/work/main/build/x86_64/googletest/googlemock/CMakeFiles/gmock.dir/DependInfo.cmake"
  "/work/main/build/x86_64/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
