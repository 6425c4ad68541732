# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads variant).
# CAIRNFOLD_WINDOWS_PREFIX is the folder the libraries were built into (tools/windows_build.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH ${CAIRNFOLD_WINDOWS_PREFIX} /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The cross-built tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CAIRNFOLD_WINDOWS_PREFIX)
# MinGW's own runtime (libgcc, libstdc++, winpthread) linked in: the programs need no DLL of it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
