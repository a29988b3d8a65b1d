# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and std::filesystem need); programs built for tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One C++ runtime per process. Qt's DLLs use libstdc++-6.dll, so a program built with Qt uses
# that same DLL, deployed beside it: a static copy of its own would be a second runtime with its
# own exception handling and library state in the same process. Without Qt (the toolkit-free
# core) each program carries the runtime, so that Wine needs no MinGW folder on its path.
if(DEFINED DRAVIX_QT AND NOT DRAVIX_QT)
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()
find_program(DRAVIX_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(DRAVIX_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${DRAVIX_WINE})
endif()
