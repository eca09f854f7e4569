# Cross-build of the Windows programs with MinGW-w64, win32 thread model: the programs are
# single-threaded and need no pthread library. PELORIN_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PELORIN_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PELORIN_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${PELORIN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PELORIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
