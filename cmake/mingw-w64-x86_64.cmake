# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SALVORA_MINGW_TRIPLET x86_64-w64-mingw32)
set(SALVORA_WINE_PROGRAM /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
