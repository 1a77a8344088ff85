
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/common/handles.cpp" "common/CMakeFiles/zo_common.dir/handles.cpp.obj" "gcc" "common/CMakeFiles/zo_common.dir/handles.cpp.obj.d"
  "/work/main/common/ole_colour.cpp" "common/CMakeFiles/zo_common.dir/ole_colour.cpp.obj" "gcc" "common/CMakeFiles/zo_common.dir/ole_colour.cpp.obj.d"
  "/work/main/common/twips.cpp" "common/CMakeFiles/zo_common.dir/twips.cpp.obj" "gcc" "common/CMakeFiles/zo_common.dir/twips.cpp.obj.d"
  "/work/main/common/vb_conversions.cpp" "common/CMakeFiles/zo_common.dir/vb_conversions.cpp.obj" "gcc" "common/CMakeFiles/zo_common.dir/vb_conversions.cpp.obj.d"
  "/work/main/common/vb_error.cpp" "common/CMakeFiles/zo_common.dir/vb_error.cpp.obj" "gcc" "common/CMakeFiles/zo_common.dir/vb_error.cpp.obj.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/build/x86_64/CMakeFiles/zo_guids.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
