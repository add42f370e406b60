# Shared by the MinGW-w64 toolchain files, which set SALVORA_MINGW_TRIPLET and
# SALVORA_WINE_PROGRAM first.

# The POSIX thread model: GoogleTest needs std::mutex, which the win32 model of GCC 12 lacks.
set(CMAKE_C_COMPILER ${SALVORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SALVORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${SALVORA_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SALVORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, so the programs run on a bare Windows (and under Wine) without the
# toolchain's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs run under Wine through a wrapper that keeps them in a private prefix: the build
# folder's own, unless SALVORA_WINEPREFIX names another. -DSALVORA_RUN_UNDER_WINE=OFF builds
# without running anything, for a machine whose Wine cannot run this build's programs (a kernel
# without 32-bit support runs no 32-bit Wine).
if(NOT DEFINED SALVORA_RUN_UNDER_WINE OR SALVORA_RUN_UNDER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${SALVORA_WINE_PROGRAM}
      ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
# Tests are listed when ctest runs, not at build time, so building never starts Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
