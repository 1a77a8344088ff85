# Helpers shared by the CMakeLists of the project's folders.

# Options every target compiled from our own sources gets (not GoogleTest).
function(zo_own_target target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    # Sources may include the headers widl generates: generate them first.
    add_dependencies(${target} zo_idl_gen)
endfunction()

# One layer of the library: a static library from the folder's *.cpp files.
# A folder without sources yet becomes an INTERFACE library with the same
# usage requirements, so that the layers above it still configure and link.
#   zo_add_layer(<target> DEPENDS <targets or libraries>...)
function(zo_add_layer target)
    cmake_parse_arguments(arg "" "" "DEPENDS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.c")
    if(sources)
        add_library(${target} STATIC ${sources})
        target_link_libraries(${target} PUBLIC ${arg_DEPENDS})
        zo_own_target(${target})
    else()
        message(STATUS "${target}: no sources in ${CMAKE_CURRENT_SOURCE_DIR} yet")
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${arg_DEPENDS})
    endif()
endfunction()

# Picks the subsystem and entry point from the sources: a WinMain makes a
# GUI program, wWinMain or wmain also needs -municode; otherwise a console
# program with main. The sources are configure dependencies, so adding or
# renaming an entry point is picked up by the next build.
function(zo_set_entry_point target)
    set(gui OFF)
    set(wide OFF)
    foreach(source IN LISTS ARGN)
        if(NOT source MATCHES "\\.(c|cpp|cc|cxx)$")
            continue()
        endif()
        # Files the build generates (the MIDL GUID files) hold no entry point
        # and do not exist yet when a fresh tree is configured.
        get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        string(FIND "${path}" "${CMAKE_BINARY_DIR}/" inBuildTree)
        if(inBuildTree EQUAL 0 OR NOT EXISTS "${path}")
            continue()
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
        file(READ "${path}" text)
        if(text MATCHES "[^A-Za-z0-9_]wWinMain[ \t\r\n]*\\(")
            set(gui ON)
            set(wide ON)
        elseif(text MATCHES "[^A-Za-z0-9_]WinMain[ \t\r\n]*\\(")
            set(gui ON)
        elseif(text MATCHES "[^A-Za-z0-9_]wmain[ \t\r\n]*\\(")
            set(wide ON)
        endif()
    endforeach()
    if(gui)
        set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
    if(wide)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()

# A program built from the given sources that loads the OCX at run time
# (demo, benchmarks): it depends on ZoPropList so that the control beside it
# is always current.
function(zo_add_program target)
    add_executable(${target} ${ARGN})
    zo_own_target(${target})
    zo_set_entry_point(${target} ${ARGN})
    if(TARGET ZoPropList)
        add_dependencies(${target} ZoPropList)
    endif()
endfunction()
