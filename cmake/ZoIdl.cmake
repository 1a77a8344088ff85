# Runs widl over server/*.idl for the target bitness. For each <name>.idl it
# produces, in ${ZO_IDL_DIR}:
#   <name>.h     the C/C++ declarations of the interfaces and coclasses
#   <name>_i.c   the GUID definitions, compiled into the zo_guids library
#   <name>.tlb   the type library, embedded in the OCX by server/ZoPropList.rc
# Targets defined here:
#   zo_idl      INTERFACE: the include folder of the generated headers
#   zo_idl_gen  custom target that brings every generated file up to date
#   zo_guids    the GUID definitions (INTERFACE while there is no IDL file)

set(ZO_IDL_DIR "${CMAKE_BINARY_DIR}/idl")
file(MAKE_DIRECTORY "${ZO_IDL_DIR}")

add_library(zo_idl INTERFACE)
target_include_directories(zo_idl INTERFACE "${ZO_IDL_DIR}")

file(GLOB zo_idl_files CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/server/*.idl")
# The contents are scanned for imports below, so an edit reconfigures.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${zo_idl_files})

set(zo_idl_names "")
foreach(idl IN LISTS zo_idl_files)
    get_filename_component(name "${idl}" NAME_WE)
    list(APPEND zo_idl_names "${name}")
endforeach()

set(ZO_IDL_OUTPUTS "")
set(ZO_TYPELIBS "")
set(zo_guid_sources "")
foreach(idl IN LISTS zo_idl_files)
    get_filename_component(name "${idl}" NAME_WE)

    # A library that imports another one (import "X.idl" or importlib("X.tlb"))
    # needs that one's header and type library first.
    file(READ "${idl}" idl_text)
    set(imported_outputs "")
    foreach(other IN LISTS zo_idl_names)
        if(NOT other STREQUAL name AND idl_text MATCHES "\"${other}\\.(idl|tlb)\"")
            list(APPEND imported_outputs "${ZO_IDL_DIR}/${other}.h" "${ZO_IDL_DIR}/${other}.tlb")
        endif()
    endforeach()

    set(header "${ZO_IDL_DIR}/${name}.h")
    set(guids "${ZO_IDL_DIR}/${name}_i.c")
    set(typelib "${ZO_IDL_DIR}/${name}.tlb")
    add_custom_command(
        OUTPUT "${header}" "${guids}" "${typelib}"
        COMMAND "${ZO_WIDL}" ${ZO_WIDL_ARCH_FLAGS}
                -I "${CMAKE_SOURCE_DIR}/server" -I "${ZO_IDL_DIR}" -I "${ZO_WIDL_INCLUDE_DIR}"
                -L "${ZO_IDL_DIR}" -L "${ZO_STDOLE_DIR}"
                -h -H "${header}" -u -U "${guids}" -t -T "${typelib}"
                "${idl}"
        DEPENDS "${idl}" ${imported_outputs}
        WORKING_DIRECTORY "${ZO_IDL_DIR}"
        COMMENT "widl ${ZO_TARGET_ARCH}: ${name}.idl"
        VERBATIM)
    list(APPEND ZO_IDL_OUTPUTS "${header}" "${guids}" "${typelib}")
    list(APPEND ZO_TYPELIBS "${typelib}")
    list(APPEND zo_guid_sources "${guids}")
endforeach()

add_custom_target(zo_idl_gen DEPENDS ${ZO_IDL_OUTPUTS})

if(zo_guid_sources)
    add_library(zo_guids STATIC ${zo_guid_sources})
    target_link_libraries(zo_guids PUBLIC zo_idl)
    add_dependencies(zo_guids zo_idl_gen)
else()
    message(STATUS "server/ has no IDL files yet: no generated headers or type libraries")
    add_library(zo_guids INTERFACE)
    target_link_libraries(zo_guids INTERFACE zo_idl)
endif()
