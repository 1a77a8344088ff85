
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/common/ole_colour_test.cpp" "tests/CMakeFiles/zo_common_tests.dir/common/ole_colour_test.cpp.obj" "gcc" "tests/CMakeFiles/zo_common_tests.dir/common/ole_colour_test.cpp.obj.d"
  "/work/main/tests/common/twips_test.cpp" "tests/CMakeFiles/zo_common_tests.dir/common/twips_test.cpp.obj" "gcc" "tests/CMakeFiles/zo_common_tests.dir/common/twips_test.cpp.obj.d"
  "/work/main/tests/common/vb_error_test.cpp" "tests/CMakeFiles/zo_common_tests.dir/common/vb_error_test.cpp.obj" "gcc" "tests/CMakeFiles/zo_common_tests.dir/common/vb_error_test.cpp.obj.d"
  "/work/main/tests/common/vb_numbers_test.cpp" "tests/CMakeFiles/zo_common_tests.dir/common/vb_numbers_test.cpp.obj" "gcc" "tests/CMakeFiles/zo_common_tests.dir/common/vb_numbers_test.cpp.obj.d"
  "/work/main/tests/common/vb_text_test.cpp" "tests/CMakeFiles/zo_common_tests.dir/common/vb_text_test.cpp.obj" "gcc" "tests/CMakeFiles/zo_common_tests.dir/common/vb_text_test.cpp.obj.d"
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
