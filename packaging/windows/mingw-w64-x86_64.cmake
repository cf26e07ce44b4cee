# Cross-building for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix): the
# POSIX thread model, which std::thread and Qt need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_cible x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_cible}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_cible}-g++-posix)
set(CMAKE_RC_COMPILER ${_cible}-windres)

# Libraries and headers come from the MinGW tree and the prefixes given (CMAKE_PREFIX_PATH),
# never from the build machine's own; programs run here, so they are the build machine's.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_cible})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
