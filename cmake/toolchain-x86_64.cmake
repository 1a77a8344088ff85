# 64-bit Windows (x86_64) with mingw-w64; programs run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ZO_TARGET_ARCH x86_64)
set(ZO_MINGW_TRIPLE x86_64-w64-mingw32)
set(ZO_STDOLE_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder of the 64-bit stdole2.tlb")
set(ZO_WIDL_ARCH_FLAGS --win64 -m64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-common.cmake)
