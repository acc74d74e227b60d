# Shared by the MinGW-w64 toolchain files; LUMIVANE_MINGW_PREFIX names the target.
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model keeps winpthread out of the exe; the program has no threads.
find_program(CMAKE_C_COMPILER NAMES ${LUMIVANE_MINGW_PREFIX}-gcc-win32 ${LUMIVANE_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${LUMIVANE_MINGW_PREFIX}-g++-win32 ${LUMIVANE_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${LUMIVANE_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMIVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the exe must stand alone on a machine without MinGW's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
