# The -posix compilers: the win32 thread model lacks std::mutex.
set(CMAKE_C_COMPILER ${GLIMMORA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLIMMORA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${GLIMMORA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GLIMMORA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the programs need no MinGW DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Tests of this build run under Wine: wine64 for the 64-bit build, the
# 32-bit loader in a 64-bit prefix (WoW64) for the 32-bit one.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${GLIMMORA_WINE_WINDOWS})
