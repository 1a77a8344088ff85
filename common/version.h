// Version and resource numbers of ZoPropList.ocx, shared by the resource
// script (ZoPropList.rc, compiled by windres, which reads only the
// preprocessor lines of this file) and by the C++ code (the about box, the
// registration).
#pragma once

#define ZO_VERSION_MAJOR 1
#define ZO_VERSION_MINOR 0
#define ZO_VERSION_REVISION 5

#define ZO_STRINGIZE_(x) #x
#define ZO_STRINGIZE(x) ZO_STRINGIZE_(x)

// "1.0.0.5": the file and product version of the version resource.
#define ZO_VERSION_STRING                                                         \
    ZO_STRINGIZE(ZO_VERSION_MAJOR) "." ZO_STRINGIZE(ZO_VERSION_MINOR) ".0." \
        ZO_STRINGIZE(ZO_VERSION_REVISION)

// "1.0": the version of the type libraries and of the registered controls.
#define ZO_TYPELIB_VERSION_STRING ZO_STRINGIZE(ZO_VERSION_MAJOR) "." ZO_STRINGIZE(ZO_VERSION_MINOR)

// Resource numbers. The type libraries are TYPELIB resources 1 and 2, the
// numbers that LoadTypeLibEx("...\\ZoPropList.ocx") and "...\\ZoPropList.ocx\\2"
// look for.
#define ZO_RES_TYPELIB_PROPERTYLIST 1
#define ZO_RES_TYPELIB_OWNERDRAW 2
// Toolbox pictures (16x15), named in each control's ToolboxBitmap32 key.
// The colour picker's picture takes the next number when it is added.
#define ZO_RES_TOOLBOX_PROPERTYLIST 101
#define ZO_RES_TOOLBOX_COLORPICKER 102
