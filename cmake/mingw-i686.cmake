set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GLIMMORA_MINGW_TRIPLE i686-w64-mingw32)
# Its tests run as 64-bit Windows runs a 32-bit program (WoW64).
set(GLIMMORA_WINE_WINDOWS wow64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
