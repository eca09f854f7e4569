# The shipped 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELORIN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
