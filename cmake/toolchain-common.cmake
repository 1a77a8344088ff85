# Shared part of the two mingw-w64 toolchains. The including file sets
# ZO_TARGET_ARCH (i686 or x86_64) and ZO_MINGW_TRIPLE before including this.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10.0)

# The -posix thread model is the one GoogleTest's std::mutex/std::thread use.
set(CMAKE_C_COMPILER   ${ZO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ZO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link libgcc, libstdc++ and winpthread statically: the OCX, the tests and
# the demo then need no mingw DLL beside them at run time, on Windows or Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# The IDL compiler for this bitness, with Wine's standard IDL files and the
# folder that holds stdole2.tlb (for importlib).
set(ZO_WIDL /usr/bin/${ZO_MINGW_TRIPLE}-widl CACHE FILEPATH "widl for ${ZO_TARGET_ARCH}")
set(ZO_WIDL_INCLUDE_DIR /usr/include/wine/wine/windows CACHE PATH "Wine's standard IDL files")

# Windows programs (tests, gtest discovery) run under Wine through this
# wrapper, which picks the loader for the bitness and the project's prefix.
get_filename_component(_zo_repo_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_zo_repo_root}/scripts/wine-run.sh;${ZO_TARGET_ARCH}")
