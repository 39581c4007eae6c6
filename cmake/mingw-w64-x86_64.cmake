# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, so
# that std::thread and std::mutex work): scripts/windows passes this file.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KV_MINGW_PREFIX}-windres)
# Libraries and headers of the target come from the MinGW root and from the
# folders given in CMAKE_PREFIX_PATH (GoogleTest built for Windows); the
# header-only libraries of the build machine serve both systems.
set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run under Wine when CTest runs them.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
