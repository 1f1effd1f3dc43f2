# Cross build of a Windows program with the posix-thread variant of mingw-w64 (the win32 variant
# has no std::thread). Included by the toolchain file of each width, which names the triplet.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${WMX_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WMX_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${WMX_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${WMX_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
