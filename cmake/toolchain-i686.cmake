# 32-bit Windows (i686) with mingw-w64; programs run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ZO_TARGET_ARCH i686)
set(ZO_MINGW_TRIPLE i686-w64-mingw32)
set(ZO_STDOLE_DIR /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH "Folder of the 32-bit stdole2.tlb")
set(ZO_WIDL_ARCH_FLAGS --win32 -m32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
