# The release layout: `cmake --install build/<arch>` (or scripts/package.sh,
# which installs both bitnesses and adds SHA256SUMS) fills dist/ with
#   <arch>/      ZoPropList.ocx and the two type libraries     (component zo_binaries)
#   include/     the widl headers and GUID files for C++ hosts  (component zo_sdk)
#   idl/         the IDL files they are generated from          (component zo_sdk)
#   docs/api.md, README.md, LICENSE.txt                         (component zo_sdk)
# Each bitness has its own folder; the rest is the same for both, so the
# package script installs it once.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX "${CMAKE_SOURCE_DIR}/dist" CACHE PATH "Where cmake --install puts the release layout" FORCE)
endif()

if(TARGET ZoPropList)
    install(TARGETS ZoPropList LIBRARY DESTINATION "${ZO_TARGET_ARCH}" COMPONENT zo_binaries)
    install(FILES ${ZO_TYPELIBS} DESTINATION "${ZO_TARGET_ARCH}" COMPONENT zo_binaries)
endif()

foreach(typelib IN LISTS ZO_TYPELIBS)
    get_filename_component(name "${typelib}" NAME_WE)
    install(FILES "${ZO_IDL_DIR}/${name}.h" "${ZO_IDL_DIR}/${name}_i.c" DESTINATION include COMPONENT zo_sdk)
    install(FILES "${CMAKE_SOURCE_DIR}/server/${name}.idl" DESTINATION idl COMPONENT zo_sdk)
endforeach()
install(FILES "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/LICENSE.txt" DESTINATION . COMPONENT zo_sdk)
install(FILES "${CMAKE_SOURCE_DIR}/docs/api.md" DESTINATION docs COMPONENT zo_sdk)
